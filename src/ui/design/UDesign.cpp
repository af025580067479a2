#include "ui/design/UDesign.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <exception>

#include "cabinet/UCabinetCheck.h"
#include "cabinet/UCabinetCopy.h"
#include "cabinet/UCabs.h"
#include "common/NumberFormat.h"
#include "data/SavePrompt.h"
#include "data/UnitData.h"
#include "documents/UXmlOpen.h"
#include "documents/UXmlSave.h"
#include "render/QPainterCanvas.h"
#include "ui/UiChecks.h"
#include "ui/UiPlatform.h"
#include "ui/design/UBCR.h"
#include "ui/design/UBeiBan.h"
#include "ui/design/UCeBan.h"
#include "ui/design/UChouTi.h"
#include "ui/design/UDKM.h"
#include "ui/design/UDiBan.h"
#include "ui/design/UDingBan.h"
#include "ui/design/UGeBan.h"
#include "ui/design/USelTkCate.h"
#include "ui/design/UShuBan.h"
#include "ui/design/UWinKu.h"

namespace {

const kelm::Color kFaceColor{248, 240, 227};

QString Plain(double value) { return kelm::FormatGeneral(value); }

// A cabinet that cannot be rebuilt or read: the user is told and the cabinet stays.
void ShowError(const QString& action, const std::exception& error) {
    ShowInfo(action + QString::fromUtf8(error.what()));
}

TLibraryBrowseHandler& BrowseHandler() {
    static TLibraryBrowseHandler handler;
    return handler;
}

TLibraryCategoryHandler& CategoryHandler() {
    static TLibraryCategoryHandler handler;
    return handler;
}

QString BrowseLibrary(QWidget* parent) {
    if (BrowseHandler()) return BrowseHandler()(parent);
    TfrmWinKu browser(parent);
    ShowModal(browser);
    return browser.WinXml;
}

QString ChooseCategory(QWidget* parent, QString& name) {
    if (CategoryHandler()) return CategoryHandler()(parent, name);
    TfrmSelTkCate chooser(parent);
    chooser.txtName->setText(name);
    ShowModal(chooser);
    name = chooser.txtName->text();
    return chooser.tkID;
}

}  // namespace

void SetDesignLibraryBrowser(TLibraryBrowseHandler handler) {
    BrowseHandler() = std::move(handler);
}

void SetDesignLibraryCategoryChooser(TLibraryCategoryHandler handler) {
    CategoryHandler() = std::move(handler);
}

// --- picture ------------------------------------------------------------------------

TDesignPicture::TDesignPicture(TfrmDesign* owner) : QWidget(nullptr), p_owner(owner) {
    setObjectName("imgPnl");
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    setFixedSize(558, 481);
    setAutoFillBackground(false);
}

void TDesignPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    p_owner->PaintPicture(painter);
}

void TDesignPicture::mousePressEvent(QMouseEvent* event) {
    p_owner->imgPnlMouseDown(event->position().toPoint().x(), event->position().toPoint().y());
}

void TDesignPicture::mouseReleaseEvent(QMouseEvent* event) {
    p_owner->imgPnlMouseUp(event->position().toPoint().x(), event->position().toPoint().y());
}

void TDesignPicture::mouseMoveEvent(QMouseEvent* event) {
    p_owner->imgPnlMouseMove(event->position().toPoint().x(), event->position().toPoint().y());
}

// --- window -------------------------------------------------------------------------

TfrmDesign::TfrmDesign(QWidget* parent) : QDialog(parent) {
    setObjectName("frmDesign");
    setWindowTitle(QStringLiteral("柜体设计"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    resize(1040, 700);
    ClSel.Owner = this;

    // Left column: sizes, view, boards and regions.
    auto* sizeBox = new QGroupBox(QStringLiteral("柜体尺寸"), this);
    auto* sizeForm = new QFormLayout(sizeBox);
    auto edit = [&](const char* name, const QString& label) {
        auto* field = new QLineEdit(sizeBox);
        field->setObjectName(name);
        sizeForm->addRow(label, field);
        return field;
    };
    txtGTName = edit("txtGTName", QStringLiteral("名称："));
    txtW = edit("txtW", QStringLiteral("宽："));
    txtD = edit("txtD", QStringLiteral("深："));
    txtH = edit("txtH", QStringLiteral("高："));

    auto* viewBox = new QGroupBox(QStringLiteral("视图"), this);
    auto* viewForm = new QFormLayout(viewBox);
    auto spin = [](QWidget* parent, const char* name, int low, int high, int step, int value) {
        auto* box = new QSpinBox(parent);
        box->setObjectName(name);
        box->setRange(low, high);
        box->setSingleStep(step);
        box->setValue(value);
        if (auto* line = box->findChild<QLineEdit*>()) line->setReadOnly(true);
        return box;
    };
    spA = spin(viewBox, "spA", 30, 90, 5, 80);
    spY = spin(viewBox, "spY", 0, 90, 5, 10);
    chk3D = new QCheckBox(QStringLiteral("3D视图"), viewBox);
    chk3D->setObjectName("chk3D");
    chk3D->setChecked(true);
    chkZST = new QCheckBox(QStringLiteral("正视图"), viewBox);
    chkZST->setObjectName("chkZST");
    viewForm->addRow(QStringLiteral("平视角："), spA);
    viewForm->addRow(QStringLiteral("俯视角："), spY);
    auto* checks = new QHBoxLayout;
    checks->addWidget(chk3D);
    checks->addWidget(chkZST);
    viewForm->addRow(checks);

    pgc = new QTabWidget(this);
    pgc->setObjectName("pgc");
    auto* boardPage = new QWidget(pgc);
    lstBC = new QTreeWidget(boardPage);
    lstBC->setObjectName("lstBC");
    lstBC->setHeaderLabels({QStringLiteral("序"), QStringLiteral("名称")});
    lstBC->setRootIsDecorated(false);
    lstBC->setColumnWidth(0, 40);
    auto* gapBox = new QGroupBox(QStringLiteral("间距设置"), boardPage);
    sgProperty = new QTableWidget(7, 2, gapBox);
    sgProperty->setObjectName("sgProperty");
    sgProperty->horizontalHeader()->hide();
    sgProperty->verticalHeader()->hide();
    sgProperty->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgProperty->horizontalHeader()->setStretchLastSection(true);
    sgProperty->verticalHeader()->setMinimumSectionSize(20);
    sgProperty->verticalHeader()->setDefaultSectionSize(20);
    const QStringList names = {QStringLiteral("属性"),   QStringLiteral("上间距"),
                               QStringLiteral("下间距"), QStringLiteral("左间距"),
                               QStringLiteral("右间距"), QStringLiteral("前间距"),
                               QStringLiteral("后间距")};
    for (int r = 0; r < 7; ++r) {
        sgProperty->setItem(r, 0, new QTableWidgetItem(names[r]));
        sgProperty->setItem(r, 1, new QTableWidgetItem(r == 0 ? QStringLiteral("值") : QString()));
    }
    for (int c = 0; c < 2; ++c) sgProperty->item(0, c)->setBackground(QColor(224, 224, 224));
    sgProperty->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgProperty->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgProperty->setColumnWidth(0, 90);
    sgProperty->setFixedHeight(7 * 20 + 2 * sgProperty->frameWidth());
    auto* gapLayout = new QVBoxLayout(gapBox);
    gapLayout->addWidget(sgProperty);
    auto* boardLayout = new QVBoxLayout(boardPage);
    boardLayout->addWidget(lstBC);
    boardLayout->addWidget(gapBox);
    pgc->addTab(boardPage, QStringLiteral("板件"));
    auto* regPage = new QWidget(pgc);
    lstReg = new QTreeWidget(regPage);
    lstReg->setObjectName("lstReg");
    lstReg->setHeaderLabels({QStringLiteral("序号"), QStringLiteral("尺寸(宽×高×深)")});
    lstReg->setColumnWidth(0, 40);
    lstReg->setRootIsDecorated(false);
    auto* regLayout = new QVBoxLayout(regPage);
    regLayout->addWidget(lstReg);
    pgc->addTab(regPage, QStringLiteral("分格区"));

    auto* left = new QVBoxLayout;
    left->addWidget(sizeBox);
    left->addWidget(viewBox);
    left->addWidget(pgc, 1);
    auto* leftPanel = new QWidget(this);
    leftPanel->setLayout(left);
    leftPanel->setFixedWidth(240);

    // Right side: tool bars over the picture.
    auto button = [this](QToolBar* bar, QToolButton*& target, const char* name,
                         const QString& caption, int tag) {
        target = new QToolButton(bar);
        target->setObjectName(name);
        target->setText(caption);
        target->setProperty("tag", tag);
        target->setToolButtonStyle(Qt::ToolButtonTextOnly);
        bar->addWidget(target);
    };
    auto* bar1 = new QToolBar(this);
    button(bar1, tlNew, "tlNew", QStringLiteral("新建"), 0);
    button(bar1, tlSave, "tlSave", QStringLiteral("保存"), 0);
    button(bar1, tlSaveTK, "tlSaveTK", QStringLiteral("图库"), 0);
    button(bar1, tlSelGt, "tlSelGt", QStringLiteral("选柜体"), 0);
    button(bar1, tlExit, "tlExit", QStringLiteral("退出"), 0);
    auto* bar2 = new QToolBar(this);
    button(bar2, tlZZ, "tlZZ", QStringLiteral("指针"), 100);
    button(bar2, tlBeiBan, "tlBeiBan", QStringLiteral("背板"), 801);
    button(bar2, tlDingBan, "tlDingBan", QStringLiteral("顶板"), 802);
    button(bar2, tlCeBan, "tlCeBan", QStringLiteral("侧板"), 803);
    button(bar2, tlDiBan, "tlDiBan", QStringLiteral("底板"), 809);
    button(bar2, tlCengban, "tlCengban", QStringLiteral("层板"), 805);
    button(bar2, tlGeBan, "tlGeBan", QStringLiteral("隔板"), 806);
    button(bar2, tlShuBan, "tlShuBan", QStringLiteral("立板"), 804);
    button(bar2, tlMen, "tlMen", QStringLiteral("门"), 807);
    button(bar2, tlChouTi, "tlChouTi", QStringLiteral("抽屉"), 808);
    auto* bar3 = new QToolBar(this);
    button(bar3, tlDel, "tlDel", QStringLiteral("撤销"), 0);
    button(bar3, tlRedo, "tlRedo", QStringLiteral("重做"), 0);
    tlDel->setShortcut(QKeySequence::Undo);
    tlRedo->setShortcut(QKeySequence::Redo);
    button(bar3, tlMax, "tlMax", QStringLiteral("放大"), 0);
    button(bar3, tlMin, "tlMin", QStringLiteral("缩小"), 0);
    spVal = new QSpinBox(bar3);
    spVal->setObjectName("spVal");
    spVal->setRange(1, 100);
    spVal->setValue(5);
    bar3->addWidget(spVal);
    button(bar3, tlL, "tlL", QStringLiteral("左移"), 1);
    button(bar3, tlR, "tlR", QStringLiteral("右移"), 2);
    button(bar3, tlT, "tlT", QStringLiteral("上移"), 3);
    button(bar3, tlB, "tlB", QStringLiteral("下移"), 4);

    imgPnl = new TDesignPicture(this);
    sbPicture = new QScrollArea(this);
    sbPicture->setObjectName("sbPicture");
    sbPicture->setBackgroundRole(QPalette::Base);
    sbPicture->setStyleSheet("QScrollArea{background:white;}");
    sbPicture->setWidget(imgPnl);

    auto* bars = new QHBoxLayout;
    bars->addWidget(bar1);
    bars->addWidget(bar3);
    bars->addStretch();
    auto* right = new QVBoxLayout;
    right->addLayout(bars);
    right->addWidget(bar2);
    right->addWidget(sbPicture, 1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(leftPanel);
    layout->addLayout(right, 1);

    // Wiring.
    connect(txtW, &QLineEdit::textChanged, this, [this] { SizeFieldChange(); });
    connect(txtD, &QLineEdit::textChanged, this, [this] { SizeFieldChange(); });
    connect(txtH, &QLineEdit::textChanged, this, [this] { SizeFieldChange(); });
    connect(txtGTName, &QLineEdit::textChanged, this, [this] { txtGTNameChange(); });
    connect(spA, &QSpinBox::valueChanged, this, [this] { ViewAngleChange(); });
    connect(spY, &QSpinBox::valueChanged, this, [this] { ViewAngleChange(); });
    connect(chk3D, &QCheckBox::toggled, this, [this] { Redraw(); });
    connect(chkZST, &QCheckBox::clicked, this, [this] { chkZSTClick(); });
    for (QToolButton* tool : {tlZZ, tlBeiBan, tlDingBan, tlCeBan, tlDiBan, tlCengban, tlGeBan,
                              tlShuBan, tlMen, tlChouTi})
        connect(tool, &QToolButton::clicked, this,
                [this, tool] { ToolClick(tool->property("tag").toInt()); });
    for (QToolButton* nudge : {tlL, tlR, tlT, tlB})
        connect(nudge, &QToolButton::clicked, this,
                [this, nudge] { NudgeClick(nudge->property("tag").toInt()); });
    connect(tlNew, &QToolButton::clicked, this, [this] { tlNewClick(); });
    connect(tlSave, &QToolButton::clicked, this, [this] { tlSaveClick(); });
    connect(tlSaveTK, &QToolButton::clicked, this, [this] { tlSaveTKClick(); });
    connect(tlSelGt, &QToolButton::clicked, this, [this] { tlSelGtClick(); });
    connect(tlDel, &QToolButton::clicked, this, [this] { tlDelClick(); });
    connect(tlRedo, &QToolButton::clicked, this, [this] { tlRedoClick(); });
    connect(tlExit, &QToolButton::clicked, this, [this] { close(); });
    connect(tlMax, &QToolButton::clicked, this, [this] { tlMaxClick(); });
    connect(tlMin, &QToolButton::clicked, this, [this] { tlMinClick(); });
    connect(lstBC, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { lstBCSelect(lstBC->indexOfTopLevelItem(item)); });
    connect(lstReg, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { lstRegSelect(lstReg->indexOfTopLevelItem(item)); });
}

TfrmDesign::~TfrmDesign() = default;

// --- the edited cabinet ---------------------------------------------------------------

void TfrmDesign::SetCabinet(FCabinet* cabinet) {
    Cabinet = cabinet;
    if (p_own && p_own.get() != cabinet) p_own.reset();
}

std::unique_ptr<FCabinet> TfrmDesign::TakeCabinet() {
    if (!Cabinet) return nullptr;
    if (p_own && p_own.get() == Cabinet) return std::move(p_own);
    return std::make_unique<FCabinet>(*Cabinet);
}

void TfrmDesign::ReplaceCabinet(std::unique_ptr<FCabinet> cabinet, bool keepRedo) {
    if (!keepRedo) ForgetRedo();
    // The previous object goes only when it was the designer's own; one the opener
    // handed in stays valid for the opener.
    p_own = std::move(cabinet);
    Cabinet = p_own.get();
    // The lists describe the cabinet shown: a new one empties them at once.
    FillLists();
    Redraw();
}

bool TfrmDesign::HasBoards() const { return Cabinet && !Cabinet->BCS().empty(); }

// --- drawing --------------------------------------------------------------------------

void TfrmDesign::Redraw() {
    p_cross = false;
    if (Cabinet) dv = (Cabinet->W() >= Cabinet->H() ? Cabinet->W() : Cabinet->H()) / ChiCun;
    imgPnl->update();
}

void TfrmDesign::PaintPicture(QPainter& painter) {
    painter.fillRect(QRect(QPoint(0, 0), imgPnl->size()), Qt::white);
    if (!Cabinet) return;
    dv = (Cabinet->W() >= Cabinet->H() ? Cabinet->W() : Cabinet->H()) / ChiCun;
    kelm::QPainterCanvas canvas(painter);
    if (dv > 0) Cabinet->Draw(canvas, dv, Angle, Angle2, pos, chk3D->isChecked(), true, kFaceColor);
    if (!p_cross) return;
    const int px = p_mouse.x();
    const int py = p_mouse.y();
    canvas.SetPenColor(kelm::Colors::Blue);
    canvas.SetPenStyle(kelm::PenStyle::Solid);
    canvas.SetPenWidth(1);
    canvas.MoveTo(0, py);
    canvas.LineTo(1000, py);
    canvas.MoveTo(px, 0);
    canvas.LineTo(px, 1000);
    const double x = (px - pos.x()) * dv;
    const double y = (py - pos.y()) * dv;
    auto readOut = [](double value, double whole) {
        const double share = whole != 0 ? value * 100 / whole : 0;
        return kelm::FormatPattern(value, QStringLiteral("0.0")) + "(" +
               kelm::FormatPattern(share, QStringLiteral("0.0%")) + ")";
    };
    canvas.SetFontColor(kelm::Colors::Blue);
    canvas.SetTransparentText(true);
    canvas.TextOut(px, 0, readOut(x, Cabinet->W()));
    canvas.TextOut(0, py, readOut(y, Cabinet->H()));
}

QImage TfrmDesign::RenderPicture() {
    QImage image(imgPnl->size(), QImage::Format_RGB32);
    QPainter painter(&image);
    PaintPicture(painter);
    return image;
}

void TfrmDesign::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (p_shownOnce) return;
    p_shownOnce = true;
    p_openingState = SavedState();
    p_hasOpeningState = true;
    if (IsEdit && Cabinet) {
        Redraw();
        FillLists();
    }
}

// --- lists ----------------------------------------------------------------------------

void TfrmDesign::FillLists() {
    QSignalBlocker blockBC(lstBC);
    QSignalBlocker blockReg(lstReg);
    lstBC->clear();
    lstReg->clear();
    if (!Cabinet) return;
    const FBCS& boards = Cabinet->BCS();
    for (std::size_t i = 0; i < boards.size(); ++i)
        lstBC->addTopLevelItem(
            new QTreeWidgetItem(QStringList{QString::number(i + 1), boards[i].Cl.Name}));
    for (std::size_t i = 0; i < Cabinet->Regions().size(); ++i) {
        const int r = int(i);
        const QString size = Plain(Cabinet->GetRegWidth(r)) + QStringLiteral(" × ") +
                             Plain(Cabinet->GetRegHight(r)) + QStringLiteral(" × ") +
                             Plain(Cabinet->GetRegDepth(r));
        lstReg->addTopLevelItem(new QTreeWidgetItem(QStringList{QString::number(i + 1), size}));
    }
    // The rows follow the selection the cabinet holds (a placement selects the region
    // the next element goes into).
    if (Cabinet->HasRegion(Cabinet->SelRegIndex()))
        lstReg->setCurrentItem(lstReg->topLevelItem(Cabinet->SelRegIndex()));
    const int board = Cabinet->SelBCIndex();
    if (board >= 0 && board < lstBC->topLevelItemCount())
        lstBC->setCurrentItem(lstBC->topLevelItem(board));
}

void TfrmDesign::lstBCSelect(int row) {
    if (!Cabinet || row < 0 || row >= int(Cabinet->BCS().size())) return;
    if (row < lstBC->topLevelItemCount()) {
        QSignalBlocker block(lstBC);
        lstBC->setCurrentItem(lstBC->topLevelItem(row));
    }
    Cabinet->SetSelBCIndex(row);
    const FEdge& e = Cabinet->BCS()[row].Edge;
    const double values[6] = {e.T, e.B, e.L, e.R, e.Q, e.H};
    for (int r = 1; r <= 6; ++r) sgProperty->item(r, 1)->setText(Plain(values[r - 1]));
    Redraw();
}

void TfrmDesign::lstRegSelect(int row) {
    if (!Cabinet || !Cabinet->HasRegion(row)) return;
    Cabinet->SetSelRegIndex(row);
    Redraw();
}

// --- size fields ----------------------------------------------------------------------

void TfrmDesign::SizeFieldChange() {
    if (IsEdit) return;
    ApplySizeFields();
}

void TfrmDesign::ApplySizeFields() {
    for (QLineEdit* field : {txtW, txtD, txtH})
        if (!CheckNumberField(field)) return;
    double w = 0, d = 0, h = 0;
    kelm::ParseNumber(txtW->text().trimmed(), w);
    kelm::ParseNumber(txtD->text().trimmed(), d);
    kelm::ParseNumber(txtH->text().trimmed(), h);
    if (w < 100 || d < 100 || h < 100) return;
    ReplaceCabinet(std::make_unique<FCabinet>(w, d, h, txtGTName->text().trimmed()));
}

void TfrmDesign::txtGTNameChange() {
    if (Cabinet) Cabinet->SetName(txtGTName->text().trimmed());
}

void TfrmDesign::tlNewClick() {
    if (!Cabinet) return;
    if (!AskConfirm(QStringLiteral("确定要重新创建柜体吗？"))) return;
    ApplySizeFields();
}

// --- view -----------------------------------------------------------------------------

void TfrmDesign::tlMaxClick() {
    if (ChiCun >= 3600) {
        ChiCun = 3600;
    } else {
        ChiCun = int(ChiCun * 1.2);
        imgPnl->setFixedSize(int(imgPnl->width() * 1.2), int(imgPnl->height() * 1.2));
    }
    Redraw();
}

void TfrmDesign::tlMinClick() {
    if (ChiCun <= 360) {
        ChiCun = 360;
    } else {
        ChiCun = int(ChiCun / 1.2);
        imgPnl->setFixedSize(int(imgPnl->width() / 1.2), int(imgPnl->height() / 1.2));
    }
    Redraw();
}

void TfrmDesign::ViewAngleChange() {
    Angle = spA->value();
    Angle2 = spY->value();
    Redraw();
}

void TfrmDesign::chkZSTClick() {
    const bool front = chkZST->isChecked();
    spA->setValue(front ? 90 : 80);
    spY->setValue(front ? 0 : 10);
    ViewAngleChange();
}

// --- mouse ----------------------------------------------------------------------------

void TfrmDesign::imgPnlMouseMove(int x, int y) {
    if (!Cabinet) return;
    Redraw();
    p_cross = true;
    p_mouse = QPoint(x, y);
}

void TfrmDesign::imgPnlMouseDown(int x, int y) {
    if (optFlag != 100 || !Cabinet) return;
    const double mx = std::trunc((x - pos.x()) * dv);
    const double my = std::trunc((y - pos.y()) * dv);
    Cabinet->SelObject(mx, my);
    if (Cabinet->SelBCIndex() != -1) lstBCSelect(Cabinet->SelBCIndex());
    Redraw();
}

void TfrmDesign::imgPnlMouseUp(int x, int y) {
    if (!Cabinet || Cabinet->SelRegIndex() == -1) return;
    if (optFlag >= 801 && optFlag <= 809) RunAddDialog(x, y);
    optFlag = 100;
    Redraw();
    FillLists();
}

void TfrmDesign::ToolClick(int tag) {
    if (tag == 100) {
        optFlag = 100;
        return;
    }
    if (!Cabinet || Cabinet->SelRegIndex() == -1) {
        ShowInfo(QStringLiteral("请选择要添加板件的位置！"));
        return;
    }
    optFlag = tag;
}

namespace {

template <typename Dialog>
void FillRegion(Dialog& dialog, const QString& w, const QString& d, const QString& h,
                const QString& z) {
    dialog.txtRegW->setText(w);
    dialog.txtRegD->setText(d);
    dialog.txtRegH->setText(h);
    dialog.txtRegZ->setText(z);
}

QString KindName(FBCType type) {
    switch (type) {
        case FBCType::BeiBan:
            return QStringLiteral("背板");
        case FBCType::CeBanLeft:
        case FBCType::CeBanRight:
            return QStringLiteral("侧板");
        case FBCType::DingBan:
            return QStringLiteral("顶板");
        case FBCType::CengBan:
            return QStringLiteral("层板");
        case FBCType::GeBan:
            return QStringLiteral("隔板");
        case FBCType::ShuBan:
            return QStringLiteral("竖板");
        case FBCType::DiBan:
            return QStringLiteral("底板");
        case FBCType::MenBan:
            break;
    }
    return QStringLiteral("板件");
}

QString BoardName(const FBC& bc) {
    return bc.Cl.Name.trimmed().isEmpty() ? KindName(bc.BCType) : bc.Cl.Name;
}

// Why a placement was refused, naming the element and what it runs into.
QString PlacementRefusal(const FCabinet& before, const FCabinet& after, const FPlaceCheck& check) {
    const std::size_t i = std::size_t(std::max(check.index, 0));
    QString name = QStringLiteral("板件");
    const FBC* bc = nullptr;
    const FChTi* ct = nullptr;
    if (check.objType == ObjBoard && i < after.BCS().size()) {
        bc = &after.BCS()[i];
        name = BoardName(*bc);
    } else if (check.objType == ObjDoor && i < after.MBS().size()) {
        name = after.MBS()[i].Cl.Name.trimmed().isEmpty() ? QStringLiteral("门")
                                                           : after.MBS()[i].Cl.Name;
    } else if (check.objType == ObjDrawer && i < after.CTS().size()) {
        ct = &after.CTS()[i];
        name = ct->Name.trimmed().isEmpty() ? QStringLiteral("抽屉") : ct->Name;
    }
    const FRegion reg = before.GetRegion(check.regIndex);
    switch (check.fault) {
        case FPlaceFault::Overlap: {
            const std::size_t other = std::size_t(std::max(check.clashWith, 0));
            const QString otherName =
                other < before.BCS().size() ? BoardName(before.BCS()[other]) : QString();
            return QStringLiteral("“%1”与第%2块板件“%3”位置重叠，不能添加！")
                .arg(name)
                .arg(check.clashWith + 1)
                .arg(otherName);
        }
        case FPlaceFault::OutsideRegion:
            if (bc && bc->BCType == FBCType::CengBan) {
                const double half = (bc->Pos.Y2 - bc->Pos.Y1) / 2;
                return QStringLiteral("“%1”超出所选分格的范围（层板中心高度应在%2至%3之间），"
                                      "不能添加！")
                    .arg(name, Plain(reg.Top + half), Plain(reg.Bottom - half));
            }
            if (bc && bc->BCType == FBCType::GeBan) {
                const double half = (bc->Pos.X2 - bc->Pos.X1) / 2;
                return QStringLiteral("“%1”超出所选分格的范围（隔板中心位置应在%2至%3之间），"
                                      "不能添加！")
                    .arg(name, Plain(reg.Left + half), Plain(reg.Right - half));
            }
            return QStringLiteral("“%1”超出所选分格的范围，不能添加！").arg(name);
        case FPlaceFault::NoSize:
            return QStringLiteral("“%1”的尺寸必须大于零，请检查间距和尺寸！").arg(name);
        case FPlaceFault::TooWide:
            return QStringLiteral("“%1”的抽屉箱宽%2超出所选分格的宽%3，不能添加！")
                .arg(name, Plain(ct ? ct->Pos.X2 - ct->Pos.X1 - ct->E - ct->F : 0),
                     Plain(reg.Right - reg.Left));
        case FPlaceFault::TooDeep:
            return QStringLiteral("“%1”的深度%2超出所选分格的深%3，不能添加！")
                .arg(name, Plain(ct ? ct->D : 0), Plain(reg.D));
        case FPlaceFault::None:
            break;
    }
    return QString();
}

// The region the element an object log entry names was placed in; -1 for none.
int PlacedRegion(const FCabinet& cab, const FRC& obj) {
    if (obj.index < 0) return -1;
    const std::size_t i = std::size_t(obj.index);
    if (obj.ObjType == ObjBoard && i < cab.BCS().size()) return cab.BCS()[i].regIndex;
    if (obj.ObjType == ObjDrawer && i < cab.CTS().size()) return cab.CTS()[i].regIndex;
    if (obj.ObjType == ObjDoor && i < cab.MBS().size()) return cab.MBS()[i].regIndex;
    return -1;
}

}  // namespace

void TfrmDesign::RunAddDialog(int x, int y) {
    FCabinet& cab = *Cabinet;
    const int reg = cab.SelRegIndex();
    const QString w = Plain(cab.GetRegWidth(reg));
    const QString d = Plain(cab.GetRegDepth(reg));
    const QString h = Plain(cab.GetRegHight(reg));
    const QString z = Plain(cab.GetRegion(reg).Z);
    const double mx = (x - pos.x()) * dv;
    const double my = (y - pos.y()) * dv;
    auto board = [&](TBoardDlgBase& dialog, const QString& name) {
        FillRegion(dialog, w, d, h, z);
        dialog.ClSelHolder = &ClSel;
        if (!name.isNull()) dialog.txtName->setText(name);
        ShowModal(dialog);
        return dialog.IsOk;
    };
    switch (optFlag) {
        case 801: {
            TfrmBeiBan dialog(this);
            if (board(dialog, "背板" + cab.GetBCCount(FBCType::BeiBan)))
                TryPlace([&](FCabinet& c) {
                    c.AddBackBC(reg, dialog.Edge, dialog.Cl, dialog.FB, dialog.WL);
                });
            break;
        }
        case 802: {
            TfrmDingBan dialog(this);
            if (board(dialog, "顶板" + cab.GetBCCount(FBCType::DingBan)))
                TryPlace([&](FCabinet& c) {
                    c.AddDingBan(reg, dialog.shape, dialog.Edge, dialog.Cl, dialog.FB, dialog.WL);
                });
            break;
        }
        case 803: {
            TfrmCeBan dialog(this);
            if (board(dialog, QString()))
                TryPlace([&](FCabinet& c) {
                    c.AddCeBan(reg, FShape::R, dialog.Edge, dialog.Cl, dialog.cbType, dialog.FB,
                               dialog.WL);
                });
            break;
        }
        case 804: {
            TfrmShuBan dialog(this);
            if (board(dialog, "竖板" + cab.GetBCCount(FBCType::ShuBan)))
                TryPlace([&](FCabinet& c) {
                    c.AddShuBan(reg, dialog.Edge, dialog.Cl, dialog.FB, dialog.WL);
                });
            break;
        }
        case 805: {
            TfrmBCR dialog(this);
            dialog.txtY->setText(kelm::FormatPattern(my, QStringLiteral("0.0")));
            dialog.tmpReg = cab.GetRegion(reg);
            if (board(dialog, "层板" + cab.GetBCCount(FBCType::CengBan)))
                TryPlace([&](FCabinet& c) {
                    c.AddBc(reg, dialog.shape, dialog.Edge, dialog.Cl, 0, dialog.Y,
                            QStringLiteral("1"), dialog.FB, dialog.WL);
                });
            break;
        }
        case 806: {
            TfrmGeBan dialog(this);
            dialog.txtY->setText(kelm::FormatPattern(mx, QStringLiteral("0.0")));
            dialog.tmpReg = cab.GetRegion(reg);
            if (board(dialog, "隔板" + cab.GetBCCount(FBCType::GeBan)))
                TryPlace([&](FCabinet& c) {
                    c.AddBc(reg, FShape::R, dialog.Edge, dialog.Cl, dialog.X, 0,
                            QStringLiteral("2"), dialog.FB, dialog.WL);
                });
            break;
        }
        case 807: {
            TfrmDkM dialog(this);
            FillRegion(dialog, w, d, h, z);
            dialog.ClSelHolder = &ClSel;
            dialog.txtName->setText(QStringLiteral("门"));
            ShowModal(dialog);
            if (dialog.IsOk)
                TryPlace([&](FCabinet& c) {
                    c.AddDKM(reg, dialog.Edge, dialog.Cl, dialog.fm, dialog.lOrR);
                });
            break;
        }
        case 808: {
            TfrmChouTi dialog(this);
            FillRegion(dialog, w, d, h, z);
            dialog.ClSelHolder = &ClSel;
            dialog.txtName->setText("抽屉" + cab.GetCTCount());
            ShowModal(dialog);
            if (dialog.IsOK)
                TryPlace([&](FCabinet& c) {
                    c.AddChouTi(reg, dialog.ACl, dialog.BCl, dialog.gjName, dialog.W, dialog.H,
                                dialog.D, dialog.E, dialog.F, dialog.M);
                });
            break;
        }
        case 809: {
            TfrmDiBan dialog(this);
            if (board(dialog, "底板" + cab.GetBCCount(FBCType::DiBan)))
                TryPlace([&](FCabinet& c) {
                    c.AddDiBan(reg, dialog.shape, dialog.Edge, dialog.Cl, dialog.FB, dialog.WL);
                });
            break;
        }
        default:
            break;
    }
}

void TfrmDesign::TryPlace(const std::function<void(FCabinet&)>& place) {
    FCabinet& cab = *Cabinet;
    const int reg = cab.SelRegIndex();
    FCabinet trial(cab);
    place(trial);
    const FPlaceCheck check = CheckPlacement(cab, trial);
    if (!check.Ok()) {
        ShowInfo(PlacementRefusal(cab, trial, check));
        return;
    }
    if (trial.OBJS().size() == cab.OBJS().size()) return;  // the operation placed nothing
    const int next = NaturalNextRegion(cab, trial, reg);
    // Placed on the cabinet itself, so a cabinet the opener handed in grows in place.
    place(cab);
    cab.SetSelRegIndex(next);
    ForgetRedo();
}

// --- nudging and undo -------------------------------------------------------------------

void TfrmDesign::NudgeClick(int tag) {
    if (!Cabinet) return;
    const int index = Cabinet->SelBCIndex();
    if (index < 0 || index >= int(Cabinet->BCS().size())) return;
    const double v = spVal->value();
    // The move is made on a copy, so a cabinet the opener handed in keeps its boards
    // until the opener takes the result.
    FCabinet moved(*Cabinet);
    FPos& p = moved.BCS()[index].Pos;
    switch (tag) {
        case 1:
            p.X1 -= v;
            p.X2 -= v;
            break;
        case 2:
            p.X1 += v;
            p.X2 += v;
            break;
        case 3:
            p.Y1 -= v;
            p.Y2 -= v;
            break;
        case 4:
            p.Y1 += v;
            p.Y2 += v;
            break;
        default:
            return;
    }
    try {
        auto rebuilt = FCabinetCopy::CopyCb(moved.W(), moved.D(), moved.H(), moved);
        rebuilt->SetSelBCIndex(index);
        ReplaceCabinet(std::move(rebuilt));
    } catch (const std::exception& error) {
        ShowError(QStringLiteral("移动板件失败："), error);
    }
}

void TfrmDesign::tlDelClick() {
    if (!Cabinet) return;
    const bool hasObjects = !Cabinet->OBJS().empty();
    const int placedIn = hasObjects ? PlacedRegion(*Cabinet, Cabinet->OBJS().back()) : -1;
    try {
        auto rebuilt = FCabinetCopy::DelBC(Cabinet->W(), Cabinet->D(), Cabinet->H(), *Cabinet);
        // The region the object was taken from is selected, ready for another try.
        if (rebuilt->HasRegion(placedIn)) rebuilt->SetSelRegIndex(placedIn);
        if (hasObjects) p_redo.push_back(std::make_unique<FCabinet>(*Cabinet));
        ReplaceCabinet(std::move(rebuilt), true);
    } catch (const std::exception& error) {
        ShowError(QStringLiteral("撤销失败："), error);
    }
    FillLists();
}

void TfrmDesign::tlRedoClick() {
    if (p_redo.empty()) return;
    std::unique_ptr<FCabinet> next = std::move(p_redo.back());
    p_redo.pop_back();
    ReplaceCabinet(std::move(next), true);
    FillLists();
}

void TfrmDesign::ForgetRedo() { p_redo.clear(); }

// --- save, library ----------------------------------------------------------------------

void TfrmDesign::tlSaveClick() {
    if (!HasBoards()) {
        ShowInfo(QStringLiteral("请设计柜体后，再保存！"));
        return;
    }
    IsOK = true;
    accept();
}

bool TfrmDesign::tlSaveTKClick() {
    if (!HasBoards()) {
        ShowInfo(QStringLiteral("请设计柜体后，再保存！"));
        return false;
    }
    QString name = txtGTName->text().trimmed();
    const QString tkID = ChooseCategory(this, name);
    if (tkID.isEmpty()) return false;
    FCabs cabs(Cabinet->W(), Cabinet->D(), Cabinet->H());
    // The library gets a copy: the edited cabinet keeps its place in its combination.
    cabs.AddCabinet(0, std::make_unique<FCabinet>(*Cabinet));
    if (!FXmlSave::SaveToTuKu(tkID, name, cabs)) return false;
    // Designing for the library, the library entry is where the work is kept.
    if (!tlSave->isEnabled()) p_openingState = SavedState();
    return true;
}

void TfrmDesign::tlSelGtClick() {
    const QString xml = BrowseLibrary(this);
    if (xml.isEmpty()) return;
    std::unique_ptr<FCabinet> loaded;
    try {
        auto cabs = FXmlOpen::OpenXml(xml);
        if (!cabs || cabs->CBS().empty()) return;
        loaded = std::make_unique<FCabinet>(*cabs->CBS().front());
    } catch (const std::exception& error) {
        ShowError(QStringLiteral("柜体读取失败："), error);
        return;
    }
    ReplaceCabinet(std::move(loaded));
    double size[3] = {};
    QLineEdit* fields[3] = {txtW, txtD, txtH};
    for (int i = 0; i < 3; ++i) {
        const QString text = fields[i]->text().trimmed();
        if (!kelm::ParseNumber(text, size[i])) {
            ShowInfo(QStringLiteral("“%1”不是有效的数字！").arg(text));
            return;
        }
    }
    try {
        ReplaceCabinet(FCabinetCopy::CopyCb(size[0], size[1], size[2], *Cabinet));
    } catch (const std::exception& error) {
        ShowError(QStringLiteral("柜体调整尺寸失败："), error);
    }
}

// --- closing ------------------------------------------------------------------------------

QString TfrmDesign::SavedState() const {
    QString state = txtGTName->text().trimmed() + QLatin1Char('\n');
    if (!Cabinet) return state;
    FCabs cabs(Cabinet->W(), Cabinet->D(), Cabinet->H());
    cabs.AddCabinet(0, std::make_unique<FCabinet>(*Cabinet));
    return state + FXmlSave::BuildXml(cabs);
}

bool TfrmDesign::HasUnsavedChanges() const {
    return p_hasOpeningState && SavedState() != p_openingState;
}

void TfrmDesign::reject() {
    if (!HasUnsavedChanges()) {
        QDialog::reject();
        return;
    }
    const QString name = txtGTName->text().trimmed();
    const QString question = name.isEmpty()
                                 ? QStringLiteral("柜体已修改，是否保存？")
                                 : QStringLiteral("柜体“%1”已修改，是否保存？").arg(name);
    switch (AskSaveChanges(question)) {
        case TSaveAnswer::Save:
            // 保存 closes the window itself when it succeeds; otherwise its message
            // says why and the window stays open.
            if (tlSave->isEnabled())
                tlSaveClick();
            else if (tlSaveTKClick())
                QDialog::reject();
            return;
        case TSaveAnswer::Discard:
            QDialog::reject();
            return;
        case TSaveAnswer::Cancel:
            return;
    }
}
