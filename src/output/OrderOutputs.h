#pragma once
// The outputs of an order from the database: its stored layouts (one per material), their
// pages numbered through the order, and one label per cut piece carrying the panel row it
// belongs to (cabinet, position code, banding) and that row's identifier.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "optimizer/UnitD2RectTypes.h"
#include "output/Label.h"
#include "output/LayoutPage.h"
#include "output/OutputPdf.h"

namespace kelm::output {

struct OrderInfo {
    QString proID;
    QString proCode;
    QString proName;
    QString custName;
    // What the headers call the order: its code, else its key.
    QString Title() const { return proCode.isEmpty() ? proID : proCode; }
};

struct StoredLayout {
    QString pyID;
    QString bcID;    // raw material key
    QString ylName;  // raw material name
    TD2RRawArr raws;
    TD2REleArr eles;
    TD2RPrm prm;
    TD2RSchame schame;
};

// The order with key or code `key`; nothing when there is none.
std::optional<OrderInfo> FindOrder(const QString& key);
// Every order, newest key first.
std::vector<OrderInfo> ListOrders();

// Stored layouts of the order, in the order they were stored. A stored document that
// cannot be read is left out and its reason added to *problems.
std::vector<StoredLayout> LoadStoredLayouts(const QString& proID, QStringList* problems);

// Pages of every stored layout, numbered 1 … N through the order; the pages of a layout the
// order's panels no longer match are marked outdated.
std::vector<LayoutPage> OrderPages(const OrderInfo& order, const std::vector<StoredLayout>& layouts);

// The order's panel list as a table (the columns of the spreadsheet panel list).
TablePages PanelListTable(const OrderInfo& order);

// Identifier of a panel row on its labels when the panel list has none for it (the order and
// the row's key); rows of the list carry the part identifier of its "条码" column.
QString PanelRowBarcode(const QString& proID, const QString& rowID);

// One label per cut piece in the order the saw frees them; pages as OrderPages made them.
// The pieces of a part type go to the order's panel rows of that name, size and material
// in row order, so every label names its cabinet and position.
std::vector<Label> OrderLabels(const OrderInfo& order, const std::vector<StoredLayout>& layouts,
                               const std::vector<LayoutPage>& pages);

}  // namespace kelm::output
