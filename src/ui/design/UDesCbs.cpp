#include "ui/design/UDesCbs.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>

#include "common/NumberFormat.h"
#include "data/NumberRule.h"
#include "data/SavePrompt.h"
#include "data/UnitData.h"
#include "documents/UXmlSave.h"
#include "documents/UXmlSaveDb.h"
#include "render/QPainterCanvas.h"
#include "ui/UiPlatform.h"
#include "ui/design/UCustFengB.h"
#include "ui/design/UDesign.h"
#include "ui/design/URegFG.h"

namespace {
constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 560;

QString Plain(double value) { return kelm::FormatGeneral(value); }

// The crosshair read-out of one axis: "x.x(p.p%)" of the outline's size.
QString ReadOut(double mm, double size) {
    QString text = kelm::FormatPattern(mm, QStringLiteral("0.0")) + QStringLiteral("(");
    if (size > 0) text += kelm::FormatPattern(mm * 100 / size, QStringLiteral("0.0%"));
    return text + QStringLiteral(")");
}
// Editor of the outline grid that writes every keystroke into its cell, so the grid
// rule runs while the user types, not only when the cell is left.
class TKeystrokeDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            auto* self = const_cast<TKeystrokeDelegate*>(this);
            QObject::connect(line, &QLineEdit::textEdited, self,
                             [self, line] { emit self->commitData(line); });
        }
        return editor;
    }
};
}  // namespace

// --- picture ----------------------------------------------------------------------

TDesCbsPicture::TDesCbsPicture(TfrmDesCbs* owner) : QWidget(owner), p_owner(owner) {
    setObjectName("imgPnl");
    setFixedSize(kPictureWidth, kPictureHeight);
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
}

void TDesCbsPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    p_owner->PaintPicture(painter);
}

void TDesCbsPicture::mousePressEvent(QMouseEvent* event) {
    p_owner->imgPnlMouseDown(event->position().toPoint().x(), event->position().toPoint().y());
}

void TDesCbsPicture::mouseReleaseEvent(QMouseEvent* event) {
    p_owner->imgPnlMouseUp(event->position().toPoint().x(), event->position().toPoint().y());
}

void TDesCbsPicture::mouseMoveEvent(QMouseEvent* event) {
    p_owner->imgPnlMouseMove(event->position().toPoint().x(), event->position().toPoint().y());
}

// --- window -----------------------------------------------------------------------

TfrmDesCbs::TfrmDesCbs(QWidget* parent) : QDialog(parent) {
    setObjectName("frmDesCbs");
    setWindowTitle(QStringLiteral("设计"));
    InstallDesignLibraryWindows();

    // Left panel: outline, customer, banding, size list.
    auto* grpGT = new QGroupBox(QStringLiteral("整体尺寸"), this);
    sgGT = new QTableWidget(2, 5, grpGT);
    sgGT->setObjectName("sgGT");
    sgGT->horizontalHeader()->hide();
    sgGT->verticalHeader()->hide();
    p_filling = true;
    const QStringList headings = {QStringLiteral("代码"), QStringLiteral("宽(W)"),
                                  QStringLiteral("深(D)"), QStringLiteral("高(H)"),
                                  QStringLiteral("数量")};
    for (int col = 0; col < 5; ++col) {
        auto* heading = new QTableWidgetItem(headings[col]);
        heading->setFlags(Qt::ItemIsEnabled);
        heading->setBackground(palette().button());
        sgGT->setItem(0, col, heading);
        sgGT->setItem(1, col, new QTableWidgetItem(col == 4 ? QStringLiteral("1") : QString()));
        sgGT->setColumnWidth(col, 52);
    }
    sgGT->setRowHeight(0, 26);
    sgGT->setRowHeight(1, 26);
    sgGT->setCurrentCell(1, 0);
    sgGT->setItemDelegate(new TKeystrokeDelegate(sgGT));
    sgGT->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgGT->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgGT->setFixedSize(5 * 52 + 2 * sgGT->frameWidth(), 2 * 26 + 2 * sgGT->frameWidth());
    p_filling = false;

    auto* lblCust = new QLabel(QStringLiteral("客户："), grpGT);
    txtCustName = new QLineEdit(grpGT);
    txtCustName->setObjectName("txtCustName");
    txtCustName->setReadOnly(true);
    btnCustSel = new QPushButton(QStringLiteral("..."), grpGT);
    btnCustSel->setObjectName("btnCustSel");
    btnCustSel->setFixedWidth(30);
    txtCustID = new QLineEdit(grpGT);
    txtCustID->setObjectName("txtCustID");
    txtCustID->hide();
    auto* lblFB = new QLabel(QStringLiteral("封边："), grpGT);
    cbFB = new QComboBox(grpGT);
    cbFB->setObjectName("cbFB");
    cbFB->setEditable(true);
    btnDCt = new QPushButton(QStringLiteral("+"), grpGT);
    btnDCt->setObjectName("btnDCt");
    btnDCt->setFixedWidth(30);

    auto* gtLayout = new QGridLayout(grpGT);
    gtLayout->addWidget(sgGT, 0, 0, 1, 3);
    gtLayout->addWidget(lblCust, 1, 0);
    gtLayout->addWidget(txtCustName, 1, 1);
    gtLayout->addWidget(btnCustSel, 1, 2);
    gtLayout->addWidget(lblFB, 2, 0);
    gtLayout->addWidget(cbFB, 2, 1);
    gtLayout->addWidget(btnDCt, 2, 2);

    auto* grpSize = new QGroupBox(QStringLiteral("板件尺寸列表"), this);
    lstSize = new QTreeWidget(grpSize);
    lstSize->setObjectName("lstSize");
    lstSize->setRootIsDecorated(false);
    lstSize->setHeaderLabels({QStringLiteral("所属柜体"), QStringLiteral("板件名称"),
                              QStringLiteral("长"), QStringLiteral("宽")});
    lstSize->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstSize->setStyleSheet(
        QStringLiteral("QTreeWidget::item { border-bottom: 1px solid #d8d8d8; "
                       "border-right: 1px solid #d8d8d8; }"));
    lstSize->setColumnWidth(0, 64);
    lstSize->setColumnWidth(1, 92);
    lstSize->setColumnWidth(2, 56);
    auto* sizeLayout = new QVBoxLayout(grpSize);
    sizeLayout->addWidget(lstSize);

    auto* left = new QVBoxLayout;
    left->addWidget(grpGT);
    left->addWidget(grpSize, 1);
    auto* leftPanel = new QWidget(this);
    leftPanel->setLayout(left);
    leftPanel->setFixedWidth(310);

    // Right side: tool bar and picture.
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto addTool = [this](const char* name, const QString& caption, int tag) {
        QAction* action = ToolBar1->addAction(caption);
        action->setObjectName(name);
        action->setData(tag);
        return action;
    };
    tlNew = addTool("tlNew", QStringLiteral("新建"), 0);
    tlSave = addTool("tlSave", QStringLiteral("保存"), 0);
    ToolBar1->addSeparator();
    tlAddCB = addTool("tlAddCB", QStringLiteral("添加柜体"), kAddCabinet);
    tlEdit = addTool("tlEdit", QStringLiteral("编辑"), 0);
    ToolBar1->addSeparator();
    tlSpTB = addTool("tlSpTB", QStringLiteral("上下分格"), kSplitTB);
    tlLR = addTool("tlLR", QStringLiteral("左右分格"), kSplitLR);
    ToolBar1->addSeparator();
    tlExit = addTool("tlExit", QStringLiteral("退出"), 0);

    imgPnl = new TDesCbsPicture(this);
    sbPicture = new QScrollArea(this);
    sbPicture->setObjectName("sbPicture");
    sbPicture->setBackgroundRole(QPalette::Base);
    sbPicture->setWidget(imgPnl);

    auto* right = new QVBoxLayout;
    right->setSpacing(0);
    right->addWidget(ToolBar1);
    right->addWidget(sbPicture, 1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(leftPanel);
    layout->addLayout(right, 1);
    resize(1000, 640);

    LoadFengBList(cbFB);

    connect(sgGT, &QTableWidget::cellChanged, this, [this](int row, int) {
        if (row == 1) sgGTChange();
    });
    connect(btnCustSel, &QPushButton::clicked, this, [this] { btnCustSelClick(); });
    connect(btnDCt, &QPushButton::clicked, this, [this] { btnDCtClick(); });
    connect(tlNew, &QAction::triggered, this, [this] { tlNewClick(); });
    connect(tlSave, &QAction::triggered, this, [this] { tlSaveClick(); });
    connect(tlEdit, &QAction::triggered, this, [this] { tlEditClick(); });
    connect(tlExit, &QAction::triggered, this, [this] { close(); });
    for (QAction* tool : {tlAddCB, tlSpTB, tlLR})
        connect(tool, &QAction::triggered, this, [this, tool] { ToolClick(tool->data().toInt()); });
}

TfrmDesCbs::~TfrmDesCbs() = default;

QString TfrmDesCbs::Cell(int col) const {
    const QTableWidgetItem* item = sgGT->item(1, col);
    return item ? item->text() : QString();
}

void TfrmDesCbs::SetCell(int col, const QString& text) {
    if (QTableWidgetItem* item = sgGT->item(1, col)) item->setText(text);
}

void TfrmDesCbs::sgGTChange() {
    if (IsEdit || p_filling) return;
    double size[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        const QString text = Cell(i + 1);
        if (!CheckNumberText(text)) return;
        kelm::ParseNumber(text.trimmed(), size[i]);
    }
    for (double value : size)
        if (value < 100) return;
    CBS = std::make_unique<FCabs>(size[0], size[1], size[2]);
}

void TfrmDesCbs::ToolClick(int tag) {
    if (!CBS) return;
    if (CBS->SelIndex() < 0) {
        ShowInfo(QStringLiteral("请选择要添加柜体的位置！"));
        return;
    }
    optFlag = tag;
}

void TfrmDesCbs::tlNewClick() {
    if (!CBS) return;
    if (!AskConfirm(QStringLiteral("确定要重新创建柜体吗？"))) return;
    sgGTChange();
    Redraw();
}

int TfrmDesCbs::MillimetreX(int px) const { return int(std::trunc((px - pos.x()) * dv)); }
int TfrmDesCbs::MillimetreY(int py) const { return int(std::trunc((py - pos.y()) * dv)); }

void TfrmDesCbs::imgPnlMouseDown(int x, int y) {
    if (!CBS || optFlag != kPointer) return;
    Redraw();  // dv of the current outline
    CBS->SelObject(MillimetreX(x), MillimetreY(y));
    Redraw();
}

void TfrmDesCbs::imgPnlMouseUp(int x, int y) {
    if (!CBS || CBS->SelIndex() < 0) return;
    const int reg = CBS->SelIndex();
    if (optFlag == kAddCabinet) {
        // A region holds one cabinet: a second one would stand in the same space and
        // put its panels into the order twice.
        int index = -1;
        if (CBS->GetCabinet(reg, index).IsInCombination()) {
            ShowInfo(QStringLiteral("当前位置已经存在柜体！"));
            optFlag = kPointer;
            Redraw();
            return;
        }
        TfrmDesign designer(this);
        designer.txtGTName->setText(Cell(0) + QStringLiteral("-") +
                                    QString::number(CBS->CBS().size() + 1));
        designer.txtW->setText(Plain(CBS->GetRegWidth(reg)));
        designer.txtD->setText(Plain(CBS->GetRegDepth(reg)));
        designer.txtH->setText(Plain(CBS->GetRegHight(reg)));
        ShowModal(designer);
        if (designer.IsOK) {
            std::unique_ptr<FCabinet> cabinet = designer.TakeCabinet();
            if (cabinet) {
                cabinet->SetSelRegIndex(-1);
                cabinet->SetSelBCIndex(-1);
                CBS->AddCabinet(reg, std::move(cabinet));
            }
        }
    } else if (optFlag == kSplitTB || optFlag == kSplitLR) {
        if (!CBS->CBS().empty()) {
            ShowInfo(QStringLiteral("当前已经存在柜体，不能进行分格！"));
            return;
        }
        TfrmRegFG dialog(this);
        const int at = optFlag == kSplitTB ? MillimetreY(y) : MillimetreX(x);
        dialog.txtVal->setText(QString::number(at));
        ShowModal(dialog);
        if (dialog.IsOk) {
            if (optFlag == kSplitTB)
                CBS->AddSplit(reg, 0, dialog.val, QStringLiteral("1"));
            else
                CBS->AddSplit(reg, dialog.val, 0, QStringLiteral("2"));
        }
    }
    optFlag = kPointer;
    Redraw();
    ShowSizes();
}

void TfrmDesCbs::imgPnlMouseMove(int x, int y) {
    if (!CBS) return;
    p_cross = true;
    p_mouse = QPoint(x, y);
    Redraw();
}

void TfrmDesCbs::tlEditClick() {
    if (!CBS) {
        ShowInfo(QStringLiteral("请选择柜体后，再编辑！"));
        return;
    }
    int index = -1;
    CabinetHandle found = CBS->GetCabinet(CBS->SelIndex(), index);
    if (!found.IsInCombination() || found->W() == 0) {
        ShowInfo(QStringLiteral("请选择柜体后，再编辑！"));
        return;
    }
    FCabinet* cabinet = found.get();
    // The designer works on a copy, so leaving it without 保存 keeps the cabinet as it was.
    FCabinet draft = *cabinet;
    TfrmDesign designer(this);
    designer.IsEdit = true;
    designer.SetCabinet(&draft);
    designer.txtGTName->setText(cabinet->Name());
    designer.txtW->setText(Plain(cabinet->W()));
    designer.txtD->setText(Plain(cabinet->D()));
    designer.txtH->setText(Plain(cabinet->H()));
    ShowModal(designer);
    if (designer.IsOK) {
        std::unique_ptr<FCabinet> result = designer.TakeCabinet();
        if (result) {
            // The designed cabinet takes the found one's place in its region.
            result->SetParRegIndex(cabinet->ParRegIndex());
            *cabinet = std::move(*result);
        }
        // The size list shows the edited cabinet at once, not after the next click.
        ShowSizes();
    }
    Redraw();
}

void TfrmDesCbs::btnCustSelClick() { PickCustomer(this, txtCustName, txtCustID); }

void TfrmDesCbs::btnDCtClick() { EditFengBDictionary(this, cbFB); }

void TfrmDesCbs::tlSaveClick() {
    if (!CBS || CBS->CBS().empty()) {
        ShowInfo(QStringLiteral("请设计柜体后，再保存！"));
        return;
    }
    if (txtCustID->text().trimmed().isEmpty()) {
        ShowInfo(QStringLiteral("请选择客户！"));
        btnCustSel->setFocus();
        return;
    }
    // The quantity is copied into every panel row: it must be a whole number of cabinets.
    const QString countProblem = NumberRuleMessage(Cell(4), kPieceCount);
    if (!countProblem.isEmpty()) {
        ShowInfo(QStringLiteral("数量：") + countProblem);
        return;
    }
    bool saved;
    if (IsEdit)
        saved =
            FXmlSave::EditSize(proID, cbID, Cell(0).trimmed(), Cell(4).trimmed(), txtCustID->text(),
                               txtCustName->text(), cbFB->currentText(), *CBS,
                               openedVersion.isEmpty() ? nullptr : &openedVersion);
    else
        saved = FXmlSave::SaveToDB(proID, Cell(0).trimmed(), Cell(4).trimmed(), txtCustID->text(),
                                   txtCustName->text(), cbFB->currentText(), *CBS, 0);
    if (!saved) {
        ShowInfo(QStringLiteral("保存失败！"));
        return;
    }
    ShowInfo(QStringLiteral("保存成功！"));
    IsOk = true;
    accept();
}

void TfrmDesCbs::ShowSizes() {
    lstSize->clear();
    if (!CBS) return;
    // The list shows each part with the size its panel row gets: the same function and
    // the same precision, so what the user reads here is what the saw cuts.
    const int jqd = GetSysSet().JQD;
    for (const std::unique_ptr<FCabinet>& cab : CBS->CBS()) {
        if (!cab) continue;
        for (const FRC& obj : cab->OBJS())
            for (const FPartSize& part : ObjectPartSizes(*cab, obj))
                new QTreeWidgetItem(lstSize, {cab->Name(), part.name,
                                              FormatPanelSize(part.length, jqd),
                                              FormatPanelSize(part.width, jqd)});
    }
}

void TfrmDesCbs::Redraw() {
    if (CBS) dv = (CBS->W() >= CBS->H() ? CBS->W() : CBS->H()) / 360.0;
    imgPnl->update();
}

void TfrmDesCbs::PaintPicture(QPainter& painter) {
    painter.fillRect(QRect(0, 0, imgPnl->width(), imgPnl->height()), Qt::white);
    if (!CBS) return;
    dv = (CBS->W() >= CBS->H() ? CBS->W() : CBS->H()) / 360.0;
    kelm::QPainterCanvas canvas(painter);
    CBS->Draw(canvas, dv, pos, true, true, kelm::Color(248, 240, 227), 80, 10);
    if (!p_cross) return;
    const int px = p_mouse.x();
    const int py = p_mouse.y();
    canvas.SetPenStyle(kelm::PenStyle::Solid);
    canvas.SetPenWidth(1);
    canvas.SetPenColor(kelm::Colors::Blue);
    canvas.MoveTo(0, py);
    canvas.LineTo(1000, py);
    canvas.MoveTo(px, 0);
    canvas.LineTo(px, 1000);
    canvas.SetFontColor(kelm::Colors::Blue);
    canvas.SetTransparentText(true);
    canvas.TextOut(px, 0, ReadOut((px - pos.x()) * dv, CBS->W()));
    canvas.TextOut(0, py, ReadOut((py - pos.y()) * dv, CBS->H()));
}

QImage TfrmDesCbs::RenderPicture() {
    QImage image(imgPnl->size(), QImage::Format_RGB32);
    QPainter painter(&image);
    PaintPicture(painter);
    return image;
}

// --- closing ------------------------------------------------------------------------------

void TfrmDesCbs::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (p_hasOpeningState) return;
    p_openingState = SavedState();
    p_hasOpeningState = true;
}

QString TfrmDesCbs::SavedState() const {
    QStringList parts;
    for (int col = 0; col < 5; ++col) parts << Cell(col).trimmed();
    parts << txtCustID->text().trimmed() << cbFB->currentText();
    parts << (CBS ? FXmlSave::BuildXml(*CBS) : QString());
    return parts.join(QLatin1Char('\n'));
}

bool TfrmDesCbs::HasUnsavedChanges() const {
    return p_hasOpeningState && SavedState() != p_openingState;
}

void TfrmDesCbs::reject() {
    if (!HasUnsavedChanges()) {
        QDialog::reject();
        return;
    }
    const QString code = Cell(0).trimmed();
    const QString question = code.isEmpty()
                                 ? QStringLiteral("柜体设计已修改，是否保存？")
                                 : QStringLiteral("柜体“%1”的设计已修改，是否保存？").arg(code);
    switch (AskSaveChanges(question)) {
        case TSaveAnswer::Save:
            // 保存 closes the window when the position was saved; otherwise its message
            // says why (no cabinet, no customer, a failed write) and the window stays.
            tlSaveClick();
            return;
        case TSaveAnswer::Discard:
            QDialog::reject();
            return;
        case TSaveAnswer::Cancel:
            return;
    }
}
