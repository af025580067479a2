#include "ui/orders/UnitYuLiao.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>

#include "common/NumberFormat.h"
#include "data/UnitData.h"
#include "output/OffcutLabels.h"
#include "output/OutputPdf.h"
#include "ui/UiPlatform.h"

using namespace kelm::output;

namespace {

// A list row that sorts its number columns by value, the others by text.
class OffcutItem : public QTreeWidgetItem {
  public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override {
        const int c = treeWidget() ? treeWidget()->sortColumn() : 0;
        const QVariant a = data(c, Qt::UserRole), b = other.data(c, Qt::UserRole);
        if (a.isValid() && b.isValid()) return a.toDouble() < b.toDouble();
        return text(c).localeAwareCompare(other.text(c)) < 0;
    }
};

QString StateText(int state) {
    switch (state) {
        case kOffcutInStock:
            return QStringLiteral("在库");
        case kOffcutUsed:
            return QStringLiteral("已使用");
        case kOffcutScrapped:
            return QStringLiteral("已报废");
        default:
            return QString::number(state);
    }
}

// A size filter: empty is no filter; otherwise a number of at least 0.
bool ReadFilter(QLineEdit* edit, double& value) {
    value = 0;
    const QString t = edit->text().trimmed();
    if (t.isEmpty()) return true;
    if (!CheckNumberText(t) || !kelm::ParseNumber(t, value) || !std::isfinite(value) || value < 0) {
        edit->setFocus();
        edit->selectAll();
        return false;
    }
    return true;
}

}  // namespace

// ---- one offcut ----

TfrmYuLiaoEdit::TfrmYuLiaoEdit(const TOffcutRow& row, QWidget* parent) : QDialog(parent), offcut(row) {
    setObjectName("frmYuLiaoEdit");
    setWindowTitle(QStringLiteral("修改余料"));
    lblCode = new QLabel(row.ofCode, this);
    lblCode->setObjectName("lblCode");
    txtLength = new QLineEdit(kelm::FormatGeneral(row.length), this);
    txtLength->setObjectName("txtLength");
    txtWidth = new QLineEdit(kelm::FormatGeneral(row.width), this);
    txtWidth->setObjectName("txtWidth");
    txtBz = new QLineEdit(row.bz, this);
    txtBz->setObjectName("txtBz");
    txtBz->setMaxLength(200);
    btnOK = new QPushButton(QStringLiteral("确定"), this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("取消"), this);
    btnCancel->setObjectName("btnCancel");
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("余料编号："), lblCode);
    form->addRow(QStringLiteral("长度："), txtLength);
    form->addRow(QStringLiteral("宽度："), txtWidth);
    form->addRow(QStringLiteral("备注："), txtBz);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmYuLiaoEdit::btnOKClick() {
    double length = 0, width = 0;
    for (auto [edit, value] : {std::pair{txtLength, &length}, std::pair{txtWidth, &width}}) {
        const QString t = edit->text().trimmed();
        if (!CheckNumberText(t) || !kelm::ParseNumber(t, *value)) {
            if (t.isEmpty()) ShowInfo(QStringLiteral("请输入余料的长度和宽度！"));
            edit->setFocus();
            return;
        }
        if (!std::isfinite(*value) || *value <= 0 || *value > 100000) {
            ShowInfo(QStringLiteral("余料的长度和宽度必须大于0且不超过100000毫米！"));
            edit->setFocus();
            return;
        }
    }
    if (!TOffcutStore().Update(offcut.ofID, length, width, txtBz->text().trimmed())) {
        ShowInfo(QStringLiteral("余料%1已不在库存中，不能修改！").arg(offcut.ofCode));
        return;
    }
    ShowInfo(QStringLiteral("修改成功！"));
    IsOk = true;
    accept();
}

// ---- the stock ----

TfrmYuLiao::TfrmYuLiao(QWidget* parent) : QDialog(parent) {
    setObjectName("frmYuLiao");
    setWindowTitle(QStringLiteral("余料库存"));

    cbMaterial = new QComboBox(this);
    cbMaterial->setObjectName("cbMaterial");
    cbMaterial->setMinimumWidth(160);
    txtMinL = new QLineEdit(this);
    txtMinL->setObjectName("txtMinL");
    txtMinL->setMaximumWidth(70);
    txtMinW = new QLineEdit(this);
    txtMinW->setObjectName("txtMinW");
    txtMinW->setMaximumWidth(70);
    txtKey = new QLineEdit(this);
    txtKey->setObjectName("txtKey");
    txtKey->setPlaceholderText(QStringLiteral("编号、订单或备注"));
    chkAll = new QCheckBox(QStringLiteral("含已使用和已报废"), this);
    chkAll->setObjectName("chkAll");
    btnFind = new QPushButton(QStringLiteral("查询"), this);
    btnFind->setObjectName("btnFind");

    lstYuLiao = new QTreeWidget(this);
    lstYuLiao->setObjectName("lstYuLiao");
    lstYuLiao->setHeaderLabels({QStringLiteral("余料编号"), QStringLiteral("材料"), QStringLiteral("厚度"),
                                QStringLiteral("长"), QStringLiteral("宽"), QStringLiteral("面积(㎡)"),
                                QStringLiteral("来源订单"), QStringLiteral("排样"), QStringLiteral("入库日期"),
                                QStringLiteral("状态"), QStringLiteral("备注")});
    lstYuLiao->setRootIsDecorated(false);
    lstYuLiao->setItemsExpandable(false);
    lstYuLiao->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstYuLiao->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstYuLiao->setAllColumnsShowFocus(true);
    lstYuLiao->setSortingEnabled(true);
    lstYuLiao->sortByColumn(colCode, Qt::DescendingOrder);
    const int widths[] = {130, 130, 50, 70, 70, 70, 110, 50, 90, 60, 160};
    for (int c = 0; c <= colBz; ++c) lstYuLiao->setColumnWidth(c, widths[c]);
    lblTotal = new QLabel(this);
    lblTotal->setObjectName("lblTotal");

    cbLabelSize = new QComboBox(this);
    cbLabelSize->setObjectName("cbLabelSize");
    cbLabelSize->addItems(LabelStockNames());
    cbBarcode = new QComboBox(this);
    cbBarcode->setObjectName("cbBarcode");
    cbBarcode->addItems({QStringLiteral("条形码"), QStringLiteral("二维码")});
    btnEdit = new QPushButton(QStringLiteral("修改"), this);
    btnEdit->setObjectName("btnEdit");
    btnDelete = new QPushButton(QStringLiteral("报废"), this);
    btnDelete->setObjectName("btnDelete");
    btnLabels = new QPushButton(QStringLiteral("打印标签"), this);
    btnLabels->setObjectName("btnLabels");
    btnClose = new QPushButton(QStringLiteral("关闭"), this);
    btnClose->setObjectName("btnClose");

    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(QStringLiteral("材料："), this));
    filters->addWidget(cbMaterial);
    filters->addWidget(new QLabel(QStringLiteral("长≥"), this));
    filters->addWidget(txtMinL);
    filters->addWidget(new QLabel(QStringLiteral("宽≥"), this));
    filters->addWidget(txtMinW);
    filters->addWidget(new QLabel(QStringLiteral("关键字："), this));
    filters->addWidget(txtKey, 1);
    filters->addWidget(chkAll);
    filters->addWidget(btnFind);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblTotal, 1);
    buttons->addWidget(new QLabel(QStringLiteral("标签："), this));
    buttons->addWidget(cbLabelSize);
    buttons->addWidget(cbBarcode);
    buttons->addWidget(btnLabels);
    buttons->addWidget(btnEdit);
    buttons->addWidget(btnDelete);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(lstYuLiao, 1);
    layout->addLayout(buttons);
    resize(1120, 560);

    connect(btnFind, &QPushButton::clicked, this, [this] { LoadOffcuts(); });
    connect(txtKey, &QLineEdit::returnPressed, this, [this] { LoadOffcuts(); });
    connect(cbMaterial, &QComboBox::currentIndexChanged, this, [this] { LoadOffcuts(); });
    connect(chkAll, &QCheckBox::toggled, this, [this] { LoadOffcuts(); });
    connect(btnEdit, &QPushButton::clicked, this, [this] { btnEditClick(); });
    connect(lstYuLiao, &QTreeWidget::itemDoubleClicked, this, [this] { btnEditClick(); });
    connect(btnDelete, &QPushButton::clicked, this, [this] { btnDeleteClick(); });
    connect(btnLabels, &QPushButton::clicked, this, [this] { btnLabelsClick(); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);

    LoadMaterials();
    LoadOffcuts();
}

void TfrmYuLiao::LoadMaterials() {
    const QSignalBlocker block(cbMaterial);
    cbMaterial->clear();
    cbMaterial->addItem(QStringLiteral("全部材料"), QString());
    auto q = OpenQuery(QStringLiteral("SELECT ylID,ylName,houdu FROM FCl ORDER BY houdu,ylName"));
    while (q->isActive() && q->next()) {
        QString name = FieldText(*q, QStringLiteral("ylName"));
        const QString thick = FieldText(*q, QStringLiteral("houdu"));
        if (!thick.isEmpty()) name += QStringLiteral(" ") + thick + QStringLiteral("mm");
        cbMaterial->addItem(name, FieldText(*q, QStringLiteral("ylID")));
    }
}

void TfrmYuLiao::LoadOffcuts() {
    double minL = 0, minW = 0;
    if (!ReadFilter(txtMinL, minL) || !ReadFilter(txtMinW, minW)) return;
    const QString key = txtKey->text().trimmed();
    const std::vector<TOffcutRow> all =
        TOffcutStore().List(cbMaterial->currentData().toString(), !chkAll->isChecked());
    rows.clear();
    for (const TOffcutRow& r : all) {
        const bool upright = r.length >= minL && r.width >= minW;
        const bool turned = r.width >= minL && r.length >= minW;
        if (!upright && !turned) continue;
        if (!key.isEmpty() && !r.ofCode.contains(key, Qt::CaseInsensitive) &&
            !r.proCode.contains(key, Qt::CaseInsensitive) && !r.proID.contains(key) &&
            !r.bz.contains(key, Qt::CaseInsensitive))
            continue;
        rows.push_back(r);
    }
    lstYuLiao->setSortingEnabled(false);
    lstYuLiao->clear();
    double area = 0;
    int inStock = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        const TOffcutRow& r = rows[i];
        auto* item = new OffcutItem(lstYuLiao);
        item->setText(colCode, r.ofCode);
        item->setText(colMaterial, r.ylName.isEmpty() ? QStringLiteral("材料 ") + r.ylID : r.ylName);
        item->setText(colThick, kelm::FormatGeneral(r.thick));
        item->setData(colThick, Qt::UserRole, r.thick);
        item->setText(colLength, kelm::FormatGeneral(r.length));
        item->setData(colLength, Qt::UserRole, r.length);
        item->setText(colWidth, kelm::FormatGeneral(r.width));
        item->setData(colWidth, Qt::UserRole, r.width);
        const double m2 = r.length * r.width / 1000000.0;
        item->setText(colArea, kelm::FormatPattern(m2, QStringLiteral("0.000")));
        item->setData(colArea, Qt::UserRole, m2);
        item->setText(colOrder, r.proCode.isEmpty() ? r.proID : r.proCode);
        item->setText(colLayout, r.fpbNo > 0 ? QStringLiteral("图%1").arg(r.fpbNo) : QString());
        item->setData(colLayout, Qt::UserRole, r.fpbNo);
        item->setText(colDate, r.ofDate);
        item->setText(colState, StateText(r.state));
        item->setText(colBz, r.bz);
        item->setData(colCode, Qt::UserRole + 1, static_cast<qulonglong>(i));
        if (r.state == kOffcutInStock) {
            area += m2;
            ++inStock;
        } else {
            for (int c = 0; c <= colBz; ++c) item->setForeground(c, QColor(128, 128, 128));
        }
    }
    lstYuLiao->setSortingEnabled(true);
    lblTotal->setText(QStringLiteral("在库余料%1块，共%2㎡")
                          .arg(inStock)
                          .arg(kelm::FormatPattern(area, QStringLiteral("0.00"))));
}

const TOffcutRow* TfrmYuLiao::CurrentRow() const {
    const QTreeWidgetItem* item = lstYuLiao->currentItem();
    if (!item) return nullptr;
    const qulonglong i = item->data(colCode, Qt::UserRole + 1).toULongLong();
    return i < rows.size() ? &rows[i] : nullptr;
}

void TfrmYuLiao::btnEditClick() {
    const TOffcutRow* row = CurrentRow();
    if (!row) {
        ShowInfo(QStringLiteral("请先选择要修改的余料！"));
        return;
    }
    if (row->state != kOffcutInStock) {
        ShowInfo(QStringLiteral("余料%1已不在库存中，不能修改！").arg(row->ofCode));
        return;
    }
    TfrmYuLiaoEdit edit(*row, this);
    ShowModal(edit);
    if (edit.IsOk) LoadOffcuts();
}

void TfrmYuLiao::btnDeleteClick() {
    const TOffcutRow* row = CurrentRow();
    if (!row) {
        ShowInfo(QStringLiteral("请先选择要报废的余料！"));
        return;
    }
    if (row->state != kOffcutInStock) {
        ShowInfo(QStringLiteral("余料%1已不在库存中！").arg(row->ofCode));
        return;
    }
    const TOffcutRow chosen = *row;
    if (!AskConfirm(QStringLiteral("确定要报废余料%1（%2）吗？报废后不再用于排料。")
                        .arg(chosen.ofCode, SizeText(chosen.length, chosen.width))))
        return;
    if (!TOffcutStore().Scrap(chosen.ofID))
        ShowInfo(QStringLiteral("余料%1已不在库存中！").arg(chosen.ofCode));
    LoadOffcuts();
}

std::vector<TOffcutRow> TfrmYuLiao::LabelRows() const {
    std::vector<TOffcutRow> out;
    const QList<QTreeWidgetItem*> selected = lstYuLiao->selectedItems();
    // In the order the list shows them, so the labels come out as the user sees the rows.
    for (int i = 0; i < lstYuLiao->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = lstYuLiao->topLevelItem(i);
        if (!selected.isEmpty() && !item->isSelected()) continue;
        const qulonglong k = item->data(colCode, Qt::UserRole + 1).toULongLong();
        if (k < rows.size() && rows[k].state == kOffcutInStock) out.push_back(rows[k]);
    }
    return out;
}

void TfrmYuLiao::btnLabelsClick() {
    const std::vector<TOffcutRow> chosen = LabelRows();
    if (chosen.empty()) {
        ShowInfo(QStringLiteral("没有可以打印标签的在库余料！"));
        return;
    }
    TSaveFileRequest request{this, QStringLiteral("导出余料标签PDF"), "pdf|*.pdf", "pdf",
                             QStringLiteral("余料标签.pdf")};
    const QString path = RunSaveFileDialog(request);
    if (path.isEmpty()) return;
    const QString stock = LabelStockNames().value(cbLabelSize->currentIndex(), "100x60");
    QString error;
    if (WriteLabelsPdf(path, OffcutLabels(chosen), *LabelStockByName(stock),
                       cbBarcode->currentIndex() == 1 ? BarcodeKind::QR : BarcodeKind::Code128,
                       QStringLiteral("余料标签"), &error))
        ShowInfo(QStringLiteral("余料标签已经保存为：") + path);
    else
        ShowInfo(QStringLiteral("余料标签未能保存为：") + path + "\n" + error);
}
