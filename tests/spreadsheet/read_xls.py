#!/usr/bin/python3
"""Reads an .xls file back for the workbook writer's tests and prints what it holds as
JSON: sheets, cells with their formats, merged blocks, column widths, row heights, and
the drawing records (picture store and each sheet's picture shapes and objects) found
by walking the Workbook stream of the compound file.

Usage: read_xls.py FILE   (exit status 0 and JSON on stdout, or non-zero with a reason)
"""
import base64
import hashlib
import json
import struct
import sys

import xlrd
from xlrd import compdoc

H_ALIGN = {0: "general", 1: "left", 2: "center", 3: "right"}
V_ALIGN = {0: "top", 1: "center", 2: "bottom"}


def cell_format(book, xf_index):
    xf = book.xf_list[xf_index]
    font = book.font_list[xf.font_index]
    b = xf.border
    return {
        "size": font.height / 20.0,
        "bold": bool(font.bold),
        "weight": font.weight,
        "font": font.name,
        "h": H_ALIGN.get(xf.alignment.hor_align, str(xf.alignment.hor_align)),
        "v": V_ALIGN.get(xf.alignment.vert_align, str(xf.alignment.vert_align)),
        "wrap": bool(xf.alignment.text_wrapped),
        "borders": [b.left_line_style, b.right_line_style, b.top_line_style,
                    b.bottom_line_style],
        "border_colours": [b.left_colour_index, b.right_colour_index, b.top_colour_index,
                           b.bottom_colour_index],
    }


def records(stream, start):
    """BIFF records (type, payload, offset) from start up to and including EOF."""
    at = start
    while at + 4 <= len(stream):
        rtype, size = struct.unpack_from("<HH", stream, at)
        yield rtype, stream[at + 4:at + 4 + size], at
        at += 4 + size
        if rtype == 0x000A:
            return
    raise ValueError("substream at %d has no EOF record" % start)


def art_records(data, at, end, out):
    """Walks Office drawing records; containers must be filled exactly by children."""
    while at < end:
        if at + 8 > end:
            raise ValueError("drawing record header cut at %d" % at)
        verinst, rtype, length = struct.unpack_from("<HHI", data, at)
        ver, inst = verinst & 0xF, verinst >> 4
        body = at + 8
        if body + length > end:
            raise ValueError("drawing record 0x%04X at %d overruns its container" % (rtype, at))
        rec = {"type": rtype, "inst": inst, "ver": ver, "len": length}
        if ver == 0xF:
            rec["children"] = []
            art_records(data, body, body + length, rec["children"])
        else:
            rec["data"] = data[body:body + length]
        out.append(rec)
        at = body + length
    if at != end:
        raise ValueError("drawing records do not fill their container")


def find(recs, rtype):
    for r in recs:
        if r["type"] == rtype:
            yield r
        for x in find(r.get("children", []), rtype):
            yield x


def drawing_group(stream):
    data = b""
    prev = None
    for rtype, payload, _ in records(stream, 0):
        if rtype == 0x00EB or (rtype == 0x003C and prev in (0x00EB, "group")):
            data += payload
            prev = "group"
        else:
            prev = rtype
    if not data:
        return None
    tree = []
    art_records(data, 0, len(data), tree)
    fdgg = next(find(tree, 0xF006))["data"]
    spid_max, cidcl, csp_saved, cdg_saved = struct.unpack_from("<IIII", fdgg, 0)
    clusters = [struct.unpack_from("<II", fdgg, 16 + 8 * i) for i in range(cidcl - 1)]
    store = []
    for bse in find(tree, 0xF007):
        d = bse["data"]
        bt_win, bt_mac = d[0], d[1]
        size, cref = struct.unpack_from("<II", d, 20)
        blip = []
        art_records(d, 36, len(d), blip)
        b = blip[0]
        png = b["data"][17:]
        store.append({"blip_type": bt_win, "blip_type_mac": bt_mac, "record": b["type"],
                      "inst": b["inst"], "size": size, "blip_len": b["len"] + 8, "refs": cref,
                      "md5": hashlib.md5(png).hexdigest(),
                      "png": base64.b64encode(png).decode() if len(png) < 2000000 else ""})
    return {"spid_max": spid_max, "clusters": clusters, "shapes_saved": csp_saved,
            "drawings_saved": cdg_saved, "store": store}


def sheet_drawing(stream, offset):
    data = b""
    objects = []
    for rtype, payload, _ in records(stream, offset):
        if rtype == 0x00EC:
            data += payload
        elif rtype == 0x005D:
            ft, cb, ot, oid = struct.unpack_from("<HHHH", payload, 0)
            subs = []
            at = 0
            while at + 4 <= len(payload):
                sft, scb = struct.unpack_from("<HH", payload, at)
                subs.append(sft)
                at += 4 + scb
                if sft == 0:
                    break
            objects.append({"ot": ot, "id": oid, "subrecords": subs})
    if not data:
        return None
    tree = []
    art_records(data, 0, len(data), tree)
    fdg = next(find(tree, 0xF008))
    csp, spid_cur = struct.unpack_from("<II", fdg["data"], 0)
    shapes = []
    for sp in find(tree, 0xF004):
        kids = sp["children"]
        fsp = next(r for r in kids if r["type"] == 0xF00A)
        spid, flags = struct.unpack_from("<II", fsp["data"], 0)
        shape = {"spid": spid, "flags": flags, "shape_type": fsp["inst"]}
        for r in kids:
            if r["type"] == 0xF00B:
                props = {}
                for i in range(r["inst"]):
                    pid, value = struct.unpack_from("<HI", r["data"], 6 * i)
                    props[pid & 0x3FFF] = value
                shape["pib"] = props.get(0x0104)
            if r["type"] == 0xF010:
                shape["anchor"] = list(struct.unpack_from("<9H", r["data"], 0))[1:]
        shapes.append(shape)
    return {"drawing_id": fdg["inst"], "shape_count": csp, "last_spid": spid_cur,
            "shapes": shapes, "objects": objects}


def shared_strings(stream):
    """The SST's strings, followed across CONTINUE records (no rich text expected)."""
    parts = []
    in_sst = False
    for rtype, payload, _ in records(stream, 0):
        if rtype == 0x00FC:
            in_sst = True
            parts.append(payload)
        elif rtype == 0x003C and in_sst:
            parts.append(payload)
        else:
            in_sst = False
    unique = struct.unpack_from("<I", parts[0], 4)[0]
    strings = []
    part, at = 0, 8
    for _ in range(unique):
        if at >= len(parts[part]):
            part, at = part + 1, 0
        cch, flags = struct.unpack_from("<HB", parts[part], at)
        if flags & 0x0C:
            raise ValueError("unexpected rich or extended string")
        at += 3
        text = ""
        while len(text) < cch:
            if at >= len(parts[part]):
                part, at = part + 1, 0
                flags = parts[part][0]
                at = 1
            width = 2 if flags & 1 else 1
            n = min(cch - len(text), (len(parts[part]) - at) // width)
            raw = parts[part][at:at + n * width]
            text += raw.decode("utf-16-le" if width == 2 else "latin-1")
            at += n * width
        strings.append(text)
    return strings


def check_extsst(stream, strings):
    """The EXTSST index must point at the starts of every n-th shared string."""
    for rtype, payload, _ in records(stream, 0):
        if rtype != 0x00FF:
            continue
        per_bucket = struct.unpack_from("<H", payload, 0)[0]
        buckets = (len(payload) - 2) // 8
        if buckets != (len(strings) + per_bucket - 1) // per_bucket:
            raise ValueError("EXTSST has %d buckets for %d strings" % (buckets, len(strings)))
        for k in range(buckets):
            ib, cb_offset = struct.unpack_from("<IH", payload, 2 + 8 * k)
            record_type = struct.unpack_from("<H", stream, ib - cb_offset)[0]
            if record_type not in (0x00FC, 0x003C):
                raise ValueError("EXTSST bucket %d does not point into the SST" % k)
            cch, flags = struct.unpack_from("<HB", stream, ib)
            text = strings[k * per_bucket]
            room = min(cch, (ib - cb_offset + 4 + struct.unpack_from("<H", stream, ib - cb_offset + 2)[0] - ib - 3) // 2)
            start = stream[ib + 3:ib + 3 + 2 * room].decode("utf-16-le") if flags & 1 else ""
            if cch != len(text) or not text.startswith(start):
                raise ValueError("EXTSST bucket %d points at the wrong string" % k)
        return
    raise ValueError("no EXTSST record")


def page_setup(stream, offset):
    """Orientation and fit-to-page figures of a sheet (SETUP and WSBOOL records)."""
    setup = {"landscape": False, "fit_to_page": False, "fit_width": None, "fit_height": None}
    for rtype, payload, _ in records(stream, offset):
        if rtype == 0x0081:
            setup["fit_to_page"] = bool(struct.unpack_from("<H", payload, 0)[0] & 0x0100)
        elif rtype == 0x00A1:
            paper, scale, start, fit_w, fit_h, flags = struct.unpack_from("<6H", payload, 0)
            setup["landscape"] = not (flags & 0x0004) and not (flags & 0x0002)
            setup["fit_width"], setup["fit_height"] = fit_w, fit_h
    return setup


def print_titles(book):
    """Rows repeated on every printed page, by sheet index: the built-in name
    Print_Titles (code 7) of the sheet, a 3-D area reference."""
    titles = {}
    for n in book.name_obj_list:
        if not n.builtin or n.name != "Print_Titles":
            continue
        f = n.raw_formula
        if len(f) >= 11 and f[0] in (0x3B, 0x5B, 0x7B):
            ixti, r1, r2, c1, c2 = struct.unpack_from("<5H", f, 1)
            titles[n.scope] = [r1, r2, c1 & 0x3FFF, c2 & 0x3FFF]
    return titles


def main(path):
    book = xlrd.open_workbook(path, formatting_info=True, ragged_rows=True)
    with open(path, "rb") as f:
        stream = compdoc.CompDoc(f.read(), logfile=sys.stderr).get_named_stream("Workbook")
    offsets = []
    for rtype, payload, _ in records(stream, 0):
        if rtype == 0x0085:
            offsets.append(struct.unpack_from("<I", payload, 0)[0])
    check_extsst(stream, shared_strings(stream))
    titles = print_titles(book)
    result = {"sheets": [], "drawing_group": drawing_group(stream),
              "stream_size": len(stream)}
    for index, sheet in enumerate(book.sheets()):
        cells = []
        for r in range(sheet.nrows):
            for c in range(sheet.row_len(r)):
                cell = sheet.cell(r, c)
                if cell.ctype == xlrd.XL_CELL_EMPTY:
                    continue
                kind = {xlrd.XL_CELL_TEXT: "text", xlrd.XL_CELL_NUMBER: "number",
                        xlrd.XL_CELL_BLANK: "blank"}.get(cell.ctype, str(cell.ctype))
                cells.append({"row": r, "col": c, "kind": kind, "value": cell.value,
                              "format": cell_format(book, cell.xf_index)})
        result["sheets"].append({
            "name": sheet.name,
            "cells": cells,
            "merged": [list(m) for m in sheet.merged_cells],
            "column_widths": {str(k): v.width for k, v in sheet.colinfo_map.items()},
            "row_heights": {str(k): [v.height, bool(v.height_mismatch)]
                            for k, v in sheet.rowinfo_map.items()},
            "drawing": sheet_drawing(stream, offsets[index]),
            "page_setup": page_setup(stream, offsets[index]),
            "print_titles": titles.get(index),
        })
    json.dump(result, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main(sys.argv[1])
