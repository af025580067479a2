#pragma once
// The benchmark instances, read the same way by every optimizer benchmark: the workshop
// orders of instances/manifest.txt (made by make_instances.py) and the classic bin
// packing instances (folders berkey1987/ and martello1998/ with *_bins.csv/*_items.csv).

#include <QString>
#include <vector>

#include "optimizer/UnitD2RectTypes.h"

struct BenchInstance {
    QString name;
    TD2RRawArr raws;
    TD2REleArr eles;
    TD2RPrm prm;
};

// Every instance the manifest in dir names, with its kerf and trims. Throws CutInputError
// when a file cannot be read.
std::vector<BenchInstance> LoadManifest(const QString& dir);

// Classic instance base (path without "_bins.csv"/"_items.csv"): WIDTH runs along the
// sheet's length, HEIGHT along its width; equal sizes become one part type, which may be
// turned when turnable. Throws CutInputError when a file cannot be read.
BenchInstance LoadClassic(const QString& base, bool turnable);
