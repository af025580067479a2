#pragma once
// The offcut store: leftovers of confirmed cuts kept in table FYuLiao, one row per piece
// of board, each with the identifier printed on its label. Confirming the cut of an
// order (确认开料) marks its stored layouts as cut, keeps every leftover at least the
// minimum offcut and uses up the offcuts the layouts lie on, all in one transaction.
// Lengths are millimetres.

#include <QString>
#include <vector>

#include "optimizer/UnitD2RectOffcuts.h"

class TsysData;

// One offcut row.
struct TOffcutRow {
    QString ofID;    // row key
    QString ofCode;  // identifier on the label
    QString ylID;    // material
    QString ylName;  // material name ("" when the material is gone)
    double length = 0;
    double width = 0;
    double thick = 0;  // of the material
    QString proID;     // order it came from
    QString proCode;   // that order's batch code
    QString pyID;      // stored layout it came from
    int fpbNo = 0;     // sheet layout of that document, 1-based
    QString ofDate;    // "yyyy-mm-dd"
    int state = 0;     // kOffcutInStock, kOffcutUsed, kOffcutScrapped
    QString useProID;  // order whose cut used it
    QString bz;        // remark
};

constexpr int kOffcutInStock = 0;
constexpr int kOffcutUsed = 1;
constexpr int kOffcutScrapped = 2;

// What a confirmed cut did.
struct TCutConfirmation {
    int layouts = 0;   // stored layouts marked as cut
    int kept = 0;      // offcuts stored
    int consumed = 0;  // offcuts used up
};

class TOffcutStore {
  public:
    // data: the data module to use; nullptr means the one of the run (sysData()).
    explicit TOffcutStore(TsysData* data = nullptr);

    // Offcuts in stock of material ylID, as the optimizer takes them (one piece each,
    // identifier = ofCode), oldest first. Empty when ylID is not a counter key.
    TD2ROffcutArr InStock(const QString& ylID);

    // Offcut rows, newest first: of material ylID (every material when empty), only
    // those in stock when inStockOnly.
    std::vector<TOffcutRow> List(const QString& ylID, bool inStockOnly);

    // Whether any stored layout of the order is confirmed as cut.
    bool IsCut(const QString& proID);
    // Whether the order has a stored layout not confirmed as cut yet.
    bool HasUncut(const QString& proID);

    // 确认开料: every stored layout of order proID not yet cut is marked as cut, each of
    // its leftovers at least min (either way round) is stored as an offcut of the
    // layout's material (one per sheet cut with the layout), and each offcut a layout
    // lies on is used up. One transaction: on any failure nothing changes and *error
    // says why in a sentence for the user. An offcut no longer in stock (used by another
    // order's cut, or scrapped) fails the whole confirmation.
    bool ConfirmCut(const QString& proID, const TBin& min, TCutConfirmation* done,
                    QString* error);

    // Changes an offcut's size and remark; false when the sizes are not positive or the
    // row is not in stock.
    bool Update(const QString& ofID, double length, double width, const QString& bz);
    // Marks an offcut in stock as scrapped; it is no longer offered.
    bool Scrap(const QString& ofID);

  private:
    TsysData* Data() const;
    TsysData* p_data;
};
