#pragma once
// Reading the sheet and part lists of kelm-cut from CSV files (UTF-8, comma separated,
// fields may be quoted with "" for a quote inside). Every problem is reported as one
// line naming the file, line and column.

#include <QString>
#include <stdexcept>

#include "optimizer/UnitD2RectOffcuts.h"
#include "optimizer/UnitD2RectTypes.h"

// A problem with the input, with a message ready to be shown ("parts.csv:4:3: ...").
class CutInputError : public std::runtime_error {
  public:
    explicit CutInputError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// Sheets: header name,length,width[,count][,price][,prio] (any order); count defaults
// to 99999999 (unlimited), price to 1, prio to 0. XH is the row number.
TD2RRawArr ReadSheetsCsv(const QString& path);

// Parts: header name,length,width,count[,rotation]; rotation 1 (default) lets a part
// be turned, 0 fixes it by its grain. XH is the row number.
TD2REleArr ReadPartsCsv(const QString& path);

// Offcuts in stock: header name,length,width,count (any order), every column required;
// names are the offcuts' identifiers, so each is given and none twice. A header alone is
// an empty stock. Messages are in Chinese.
TD2ROffcutArr ReadOffcutsCsv(const QString& path);
// The same CSV of a list of offcuts (names quoted where needed), for --leftovers.
QString OffcutsCsvText(const TD2ROffcutArr& offcuts);

// A number option value such as "--kerf 3.5"; throws CutInputError naming the option.
double ParseOptionNumber(const QString& option, const QString& text, double min);
// An integer option value within [min, max].
long long ParseOptionInt(const QString& option, const QString& text, long long min, long long max);
