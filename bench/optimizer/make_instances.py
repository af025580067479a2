#!/usr/bin/env python3
"""Writes the optimizer benchmark instances (sheets and parts CSV files, the format of
kelm-cut) into instances/, plus instances/manifest.txt naming each instance with its
run options. Every instance comes from a fixed seed, so running this again gives the
same files byte for byte.

  kitchen    about 12 kitchen cabinets (base, wall, tall) in 18 mm board
  wardrobe   three wardrobes with partitions, shelves, doors and drawers
  order500   500 pieces in 60 random sizes
  classN_*   random instances of the classic two-dimensional bin packing classes
             (Berkey-Wang classes 1-6, Martello-Vigo class 7), 100 items each, no turning

Usage: python3 make_instances.py [OUTPUT_FOLDER]
"""
import collections
import os
import random
import sys

OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "instances")


def write_csv(path, header, rows):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(",".join(header) + "\n")
        for row in rows:
            f.write(",".join(str(v) for v in row) + "\n")


class PartList:
    """Collects panels; equal name, size and grain become one part type with a count."""

    def __init__(self):
        self.counts = collections.OrderedDict()

    def add(self, name, length, width, count=1, rotation=1):
        key = (name, round(length, 1), round(width, 1), rotation)
        self.counts[key] = self.counts.get(key, 0) + count

    def rows(self):
        return [(n, fmt(l), fmt(w), c, r) for (n, l, w, r), c in self.counts.items()]


def fmt(v):
    return str(int(v)) if float(v).is_integer() else str(v)


T = 18  # board thickness


def carcass(parts, w, h, d, shelves, tag):
    parts.add(tag + " side", h, d, 2, 0)
    parts.add(tag + " bottom", w - 2 * T, d, 1, 1)
    parts.add(tag + " top", w - 2 * T, d, 1, 1)
    if shelves:
        parts.add(tag + " shelf", w - 2 * T - 2, d - 20, shelves, 1)
    parts.add(tag + " back", h - 2, w - 2, 1, 1)


def kitchen():
    rnd = random.Random(2024)
    parts = PartList()
    widths = [300, 400, 450, 500, 600, 800, 900]
    for i in range(7):  # base cabinets
        w = rnd.choice(widths)
        carcass(parts, w, 720, 560, rnd.randint(0, 1), "base")
        if rnd.random() < 0.4:  # drawer cabinet
            for _ in range(3):
                parts.add("drawer front", w - 4, 236, 1, 0)
                parts.add("drawer side", 500, 150, 2, 1)
                parts.add("drawer back", w - 2 * T - 26 - 2 * T, 150, 1, 1)
        else:
            leaves = 2 if w > 500 else 1
            parts.add("base door", 716, w // leaves - 4, leaves, 0)
    for i in range(4):  # wall cabinets
        w = rnd.choice(widths)
        carcass(parts, w, 720, 320, 2, "wall")
        leaves = 2 if w > 500 else 1
        parts.add("wall door", 716, w // leaves - 4, leaves, 0)
    carcass(parts, 600, 2100, 560, 4, "tall")  # tall cabinet
    parts.add("tall door", 2096, 596, 1, 0)
    parts.add("plinth", 2400, 100, 2, 1)
    parts.add("worktop filler", 1200, 60, 2, 1)
    return parts


def wardrobe():
    rnd = random.Random(7)
    parts = PartList()
    for i in range(3):
        w = rnd.choice([1200, 1600, 1800, 2000])
        h, d = 2400, 580
        parts.add("wardrobe side", h, d, 2, 0)
        parts.add("wardrobe top", w - 2 * T, d, 2, 1)
        sections = w // 600 + (1 if w % 600 else 0)
        sw = (w - 2 * T - (sections - 1) * T) / sections
        parts.add("partition", h - 2 * T, d - 20, sections - 1, 0)
        for s in range(sections):
            parts.add("shelf", sw, d - 40, rnd.randint(2, 5), 1)
            if rnd.random() < 0.5:
                for _ in range(rnd.randint(2, 3)):
                    parts.add("drawer front", sw - 4, 196, 1, 0)
                    parts.add("drawer side", 500, 160, 2, 1)
                    parts.add("drawer back", sw - 2 * T - 26, 160, 1, 1)
        leaves = sections
        parts.add("wardrobe door", h - 4, (w / leaves) - 4, leaves, 0)
        parts.add("plinth", w - 2 * T, 80, 1, 1)
    return parts


def order500():
    rnd = random.Random(500)
    sizes = set()
    while len(sizes) < 60:
        sizes.add((rnd.randrange(150, 1201, 2), rnd.randrange(100, 701, 2)))
    sizes = sorted(sizes)
    rnd.shuffle(sizes)
    counts = [1] * 60
    for _ in range(500 - 60):
        counts[rnd.randrange(60)] += 1
    parts = PartList()
    for i, ((l, w), c) in enumerate(zip(sizes, counts)):
        parts.add("P%02d" % (i + 1), l, w, c, 0 if rnd.random() < 0.3 else 1)
    return parts


def classic(cls, seed):
    """Classes of the two-dimensional bin packing literature (sizes uniform in the ranges
    given; class 7 mixes four item types with probabilities 0.7, 0.1, 0.1, 0.1)."""
    rnd = random.Random(seed)
    spec = {1: (10, 1, 10), 2: (30, 1, 10), 3: (40, 1, 35), 4: (100, 1, 35), 5: (100, 1, 100), 6: (300, 1, 100)}
    parts = PartList()
    if cls in spec:
        b, lo, hi = spec[cls]
        for _ in range(100):
            parts.add("item", rnd.randint(lo, hi), rnd.randint(lo, hi), 1, 0)
        return b, parts
    b = 100
    for _ in range(100):
        r = rnd.random()
        if r < 0.7:
            w, h = rnd.randint(2 * b // 3, b), rnd.randint(1, b // 2)
        elif r < 0.8:
            w, h = rnd.randint(1, b // 2), rnd.randint(2 * b // 3, b)
        elif r < 0.9:
            w, h = rnd.randint(b // 2, b), rnd.randint(b // 2, b)
        else:
            w, h = rnd.randint(1, b // 2), rnd.randint(1, b // 2)
        parts.add("item", w, h, 1, 0)
    return b, parts


def main():
    os.makedirs(OUT, exist_ok=True)
    manifest = []
    board = [("18mm board", 2440, 1220, "", "", "")]
    hdr_s = ["name", "length", "width", "count", "price", "prio"]
    hdr_p = ["name", "length", "width", "count", "rotation"]
    for name, make, opts in [("kitchen", kitchen, "--kerf 4 --trim 10,10,10,10"),
                             ("wardrobe", wardrobe, "--kerf 4 --trim 10,10,10,10"),
                             ("order500", order500, "--kerf 4")]:
        write_csv(os.path.join(OUT, name + "_sheets.csv"), hdr_s, board)
        write_csv(os.path.join(OUT, name + "_parts.csv"), hdr_p, make().rows())
        manifest.append("%s %s" % (name, opts))
    for cls in (1, 2, 3, 4, 5, 6, 7):
        for k in (1, 2):
            b, parts = classic(cls, 1000 * cls + k)
            name = "class%d_%d" % (cls, k)
            write_csv(os.path.join(OUT, name + "_sheets.csv"), hdr_s, [("bin", b, b, "", "", "")])
            write_csv(os.path.join(OUT, name + "_parts.csv"), hdr_p, parts.rows())
            manifest.append(name)
    with open(os.path.join(OUT, "manifest.txt"), "w", encoding="utf-8", newline="\n") as f:
        f.write("# instance name, then kelm-cut options; files are NAME_sheets.csv and NAME_parts.csv\n")
        f.write("\n".join(manifest) + "\n")


if __name__ == "__main__":
    main()
