#include "ui/orders/UnitMain.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "cabinet/UDataType.h"
#include "common/NumberFormat.h"
#include "data/UnitData.h"
#include "documents/UnitEncrypTo.h"
#include "ui/UiGrid.h"
#include "ui/UiQuery.h"
#include "ui/optimize/ULayoutView.h"
#include "ui/orders/CabinetThumbnail.h"
#include "ui/orders/UCustomer.h"
#include "ui/orders/UDataDct.h"
#include "ui/orders/UProAdd.h"
#include "ui/orders/UProjects.h"
#include "ui/orders/UnitAbout.h"

namespace {
const QString kNeedOrderForCabinet = QStringLiteral("请先打开或创建新订单后，再添加柜体！");
const QString kNeedCabinetToView = QStringLiteral("请选择要查看的柜体！");
constexpr int kWinIDRole = Qt::UserRole + 1;
// The status bar banner is kept scrambled in the program and unscrambled when shown.
const QString kBannerKey = QStringLiteral("kelm");
const QString kBanner = QStringLiteral(
    "0020E021E36F45477F5676258E05ABCA10607F309DE0D5E7D8E76D63636E7CF0D7AB0DBF0CC51D6275707776"
    "5B6D4A7624B4E4A60FD5");

QPixmap LogoPicture() {
    QPixmap picture(120, 48);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(52, 94, 140));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(2, 4, 116, 40), 6, 6);
    QFont font = painter.font();
    font.setPointSize(16);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("Kelm"));
    return picture;
}

// Tool bar pictures are painted: a coloured tile with one character naming the command,
// the same size for every button.
QIcon ToolIcon(const QString& glyph, const QColor& colour) {
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    QFont font = painter.font();
    font.setPixelSize(19);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(picture.rect(), Qt::AlignCenter, glyph);
    return QIcon(picture);
}

QAction* AddCommand(QWidget* owner, QMenu* menu, const char* name, const QString& caption) {
    auto* action = new QAction(caption, owner);
    action->setObjectName(name);
    menu->addAction(action);
    return action;
}
}  // namespace

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName("frmMain");
    setWindowTitle(QStringLiteral("Kelm 板式家具生产管理 V1.0"));
    resize(1024, 700);

    SaveDia = new TSaveDialog(this);
    SaveDia->setObjectName("SaveDia");
    SaveDia->Title = QStringLiteral("[Kelm]报表导出");
    SaveDia->Filter = QStringLiteral("xls|*.xls");
    SaveDia->DefaultExt = QStringLiteral("xls");
    ColorDialog1 = new TColorDialog(this);
    ColorDialog1->setObjectName("ColorDialog1");

    BuildMenus();
    BuildToolBar();
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName("Splitter1");
    Splitter1->addWidget(BuildLeftPane());
    Splitter1->addWidget(BuildMiddlePane());
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({225, 800});
    setCentralWidget(Splitter1);
    BuildStatusBar();

    InitProperty();
    ReadSettings();
    StatusPanel[2]->setText(QStringLiteral("操作日期：[") +
                            QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) +
                            QStringLiteral("]"));
}

void TfrmMain::BuildMenus() {
    auto connectTo = [this](QAction* action, void (TfrmMain::*handler)()) {
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    mnuPro = menuBar()->addMenu(QStringLiteral("订单(&P)"));
    mnuPro->setObjectName("mnuPro");
    mnuNewPro = AddCommand(this, mnuPro, "mnuNewPro", QStringLiteral("新建订单"));
    mnuPro->addSeparator();
    mnuOpenPro = AddCommand(this, mnuPro, "mnuOpenPro", QStringLiteral("打开订单"));

    mnuMaterial = menuBar()->addMenu(QStringLiteral("材料(&M)"));
    mnuMaterial->setObjectName("mnuMaterial");
    mnuWuLiao = AddCommand(this, mnuMaterial, "mnuWuLiao", QStringLiteral("材料管理"));
    mnuYuLiao = AddCommand(this, mnuMaterial, "mnuYuLiao", QStringLiteral("余料库存"));

    mnuCust = menuBar()->addMenu(QStringLiteral("客户(&C)"));
    mnuCust->setObjectName("mnuCust");
    mnuCustomer = AddCommand(this, mnuCust, "mnuCustomer", QStringLiteral("客户管理(&C)"));

    mnuReport = menuBar()->addMenu(QStringLiteral("报表(&R)"));
    mnuReport->setObjectName("mnuReport");
    mnuPanelRpt = AddCommand(this, mnuReport, "mnuPanelRpt", QStringLiteral("板件清单报表(&L)"));
    mnuReport->addSeparator();
    mnuSizeRpt = AddCommand(this, mnuReport, "mnuSizeRpt", QStringLiteral("柜体尺寸报表(&S)"));
    mnuDrawRpt = AddCommand(this, mnuReport, "mnuDrawRpt", QStringLiteral("柜体图纸(&G)"));

    mnuSet = menuBar()->addMenu(QStringLiteral("设置(&S)"));
    mnuSet->setObjectName("mnuSet");
    mnuSettings = AddCommand(this, mnuSet, "mnuSettings", QStringLiteral("系统设置(&T)"));
    mnuSet->addSeparator();
    mnuDataDct = AddCommand(this, mnuSet, "mnuDataDct", QStringLiteral("数据字典(&D)"));
    mnuPZBZ = AddCommand(this, mnuSet, "mnuPZBZ", QStringLiteral("打孔标准(&K)"));

    mnuData = menuBar()->addMenu(QStringLiteral("数据(&D)"));
    mnuData->setObjectName("mnuData");
    mnuRestore = AddCommand(this, mnuData, "mnuRestore", QStringLiteral("数据还原"));
    mnuData->addSeparator();
    mnuBackup = AddCommand(this, mnuData, "mnuBackup", QStringLiteral("数据备份"));

    mnuHelp = menuBar()->addMenu(QStringLiteral("帮助(&A)"));
    mnuHelp->setObjectName("mnuHelp");
    mnuAbout = AddCommand(this, mnuHelp, "mnuAbout", QStringLiteral("关于(&A)"));

    connectTo(mnuNewPro, &TfrmMain::tlNewProClick);
    connectTo(mnuOpenPro, &TfrmMain::tlOpenProClick);
    connectTo(mnuWuLiao, &TfrmMain::tlWuLiaoClick);
    connectTo(mnuYuLiao, &TfrmMain::mnuYuLiaoClick);
    connectTo(mnuCustomer, &TfrmMain::mnuCustomerClick);
    connectTo(mnuPanelRpt, &TfrmMain::mnuPanelRptClick);
    connectTo(mnuSizeRpt, &TfrmMain::tlSizeRptClick);
    connectTo(mnuDrawRpt, &TfrmMain::mnuDrawRptClick);
    connectTo(mnuSettings, &TfrmMain::tlSettingsClick);
    connectTo(mnuDataDct, &TfrmMain::mnuDataDctClick);
    connectTo(mnuPZBZ, &TfrmMain::mnuPZBZClick);
    connectTo(mnuRestore, &TfrmMain::mnuRestoreClick);
    connectTo(mnuBackup, &TfrmMain::mnuBackupClick);
    connectTo(mnuAbout, &TfrmMain::mnuAboutClick);
}

void TfrmMain::BuildToolBar() {
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setMovable(false);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    ToolBar1->setIconSize(QSize(32, 32));
    imgLogo = new QLabel(this);
    imgLogo->setObjectName("imgLogo");
    imgLogo->setPixmap(LogoPicture());
    ToolBar1->addWidget(imgLogo);
    auto addTool = [this](const char* name, const QString& caption, const QString& glyph,
                          const QColor& colour, void (TfrmMain::*handler)()) {
        QAction* action = ToolBar1->addAction(ToolIcon(glyph, colour), caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        return action;
    };
    tlSizeRpt = addTool("tlSizeRpt", QStringLiteral("尺寸报表"), QStringLiteral("尺"),
                        QColor(46, 125, 50), &TfrmMain::tlSizeRptClick);
    ToolBar1->addSeparator();
    tlOpt = addTool("tlOpt", QStringLiteral("板材开料"), QStringLiteral("开"), QColor(198, 40, 40),
                    &TfrmMain::tlOptClick);
    tlCutRpt = addTool("tlCutRpt", QStringLiteral("开料图"), QStringLiteral("图"),
                       QColor(230, 120, 20), &TfrmMain::tlCutRptClick);
    ToolBar1->addSeparator();
    tlWuLiao = addTool("tlWuLiao", QStringLiteral("板材管理"), QStringLiteral("板"),
                       QColor(121, 85, 72), &TfrmMain::tlWuLiaoClick);
    tlWinKu = addTool("tlWinKu", QStringLiteral("柜体图库"), QStringLiteral("库"),
                      QColor(40, 90, 160), &TfrmMain::tlWinKuClick);
    ToolBar1->addSeparator();
    tlSettings = addTool("tlSettings", QStringLiteral("系统设置"), QStringLiteral("设"),
                         QColor(96, 96, 110), &TfrmMain::tlSettingsClick);
}

QWidget* TfrmMain::BuildLeftPane() {
    auto* pane = new QWidget(this);
    pane->setObjectName("pnlLeft");
    pane->setMinimumWidth(225);
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    ToolBar2 = new QToolBar(pane);
    ToolBar2->setObjectName("ToolBar2");
    ToolBar2->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ToolBar2->setIconSize(QSize(16, 16));
    tlNewPro =
        ToolBar2->addAction(style()->standardIcon(QStyle::SP_FileIcon), QStringLiteral("新建单据"));
    tlNewPro->setObjectName("tlNewPro");
    tlNewPro->setToolTip(QStringLiteral("新建工程"));
    tlOpenPro = ToolBar2->addAction(style()->standardIcon(QStyle::SP_DialogOpenButton),
                                    QStringLiteral("打开单据"));
    tlOpenPro->setObjectName("tlOpenPro");
    tlOpenPro->setToolTip(QStringLiteral("打开工程"));
    connect(tlNewPro, &QAction::triggered, this, [this] { tlNewProClick(); });
    connect(tlOpenPro, &QAction::triggered, this, [this] { tlOpenProClick(); });
    layout->addWidget(ToolBar2);

    trvProject = new QTreeWidget(pane);
    trvProject->setObjectName("trvProject");
    trvProject->setHeaderHidden(true);
    trvProject->setFixedHeight(129);
    layout->addWidget(trvProject);

    pgProperty = new QTabWidget(pane);
    pgProperty->setObjectName("pgProperty");
    sgProperty = new QTableWidget(10, 2, pgProperty);
    sgProperty->setObjectName("sgProperty");
    sgProperty->horizontalHeader()->hide();
    sgProperty->verticalHeader()->hide();
    sgProperty->setColumnWidth(0, 99);
    sgProperty->setColumnWidth(1, 105);
    for (int r = 0; r < 10; ++r) sgProperty->setRowHeight(r, 20);
    sgProperty->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgProperty->setSelectionMode(QAbstractItemView::NoSelection);
    sgProperty->setFocusPolicy(Qt::NoFocus);
    pgProperty->addTab(sgProperty, QStringLiteral("订单统计"));
    layout->addWidget(pgProperty, 1);
    return pane;
}

QWidget* TfrmMain::BuildMiddlePane() {
    auto* pane = new QWidget(this);
    pane->setObjectName("pnlMiddle");
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    ToolBar3 = new QToolBar(pane);
    ToolBar3->setObjectName("ToolBar3");
    ToolBar3->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ToolBar3->setIconSize(QSize(16, 16));
    auto addTool = [this](const char* name, const QString& caption, const QString& hint,
                          QStyle::StandardPixmap icon, void (TfrmMain::*handler)()) {
        QAction* action = ToolBar3->addAction(style()->standardIcon(icon), caption);
        action->setObjectName(name);
        if (!hint.isEmpty()) action->setToolTip(hint);
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        return action;
    };
    tlDesign = addTool("tlDesign", QStringLiteral("柜体设计"), QStringLiteral("添加窗型"),
                       QStyle::SP_FileDialogNewFolder, &TfrmMain::tlDesignClick);
    tlWinSel = addTool("tlWinSel", QStringLiteral("单柜设计"), QString(),
                       QStyle::SP_FileDialogStart, &TfrmMain::tlWinSelClick);
    ToolBar3->addSeparator();
    tlEdit = addTool("tlEdit", QStringLiteral("编辑"), QStringLiteral("编辑窗型"),
                     QStyle::SP_FileDialogInfoView, &TfrmMain::tlEditClick);
    tlDel = addTool("tlDel", QStringLiteral("删除"), QStringLiteral("删除窗型"),
                    QStyle::SP_TrashIcon, &TfrmMain::tlDelClick);
    layout->addWidget(ToolBar3);

    lstWins = new QListWidget(pane);
    lstWins->setObjectName("lstWins");
    lstWins->setViewMode(QListView::IconMode);
    lstWins->setIconSize(QSize(kThumbnailSize, kThumbnailSize));
    lstWins->setGridSize(QSize(kThumbnailSize + 24, kThumbnailSize + 44));
    lstWins->setResizeMode(QListView::Adjust);
    lstWins->setMovement(QListView::Static);
    lstWins->setWordWrap(true);
    lstWins->setUniformItemSizes(true);
    lstWins->setSelectionMode(QAbstractItemView::SingleSelection);
    lstWins->setStyleSheet(
        QStringLiteral("QListWidget#lstWins { background: white; }"
                       "QListWidget#lstWins::item { border: 1px solid #d8d8d8; margin: 2px; }"
                       "QListWidget#lstWins::item:selected { border: 1px solid #3070c0; "
                       "background: #dce8f8; color: black; }"));
    connect(lstWins, &QListWidget::itemDoubleClicked, this, [this] { tlEditClick(); });
    layout->addWidget(lstWins, 1);
    return pane;
}

void TfrmMain::BuildStatusBar() {
    statusBar()->setObjectName("StatusBar1");
    const int widths[4] = {270, 50, 200, 50};
    for (int i = 0; i < 4; ++i) {
        StatusPanel[i] = new QLabel(this);
        StatusPanel[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        StatusPanel[i]->setMinimumWidth(widths[i]);
        StatusPanel[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // The last panel takes the rest of the bar, so the banner is never cut off.
        statusBar()->addWidget(StatusPanel[i], i == 3 ? 1 : 0);
    }
    for (int i = 0; i < 3; ++i) StatusPanel[i]->setFixedWidth(widths[i]);
    // Says when the data cannot be changed or are not where the user would look.
    lblDataNotice = new QLabel(this);
    lblDataNotice->setObjectName("lblDataNotice");
    lblDataNotice->setStyleSheet(QStringLiteral("color: #b00000;"));
    lblDataNotice->hide();
    statusBar()->addPermanentWidget(lblDataNotice);
}

void TfrmMain::ReadSettings() {
    const TSysSet settings = GetSysSet();
    StatusPanel[0]->setText(QStringLiteral("单位名称：[") + settings.cmpName + QStringLiteral("]"));
    const QString notice = sysData()->Notice();
    lblDataNotice->setText(notice);
    lblDataNotice->setVisible(!notice.isEmpty());
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (p_shownOnce) return;
    p_shownOnce = true;
    StatusPanel[3]->setText(TEncrypXML::UncrypStr(kBanner, kBannerKey));
}

QString TfrmMain::StatusText(int panel) const {
    if (panel < 0 || panel > 3) return QString();
    return StatusPanel[panel]->text();
}

QString TfrmMain::SelectedWinID() const {
    const QList<QListWidgetItem*> selected = lstWins->selectedItems();
    if (selected.isEmpty()) return QString();
    return selected.first()->data(kWinIDRole).toString();
}

bool TfrmMain::RequireOrder(const QString& message) {
    if (!proID.isEmpty()) return true;
    ShowInfo(message);
    return false;
}

bool TfrmMain::RequireSelection(const QString& message) {
    if (!SelectedWinID().isEmpty()) return true;
    ShowInfo(message);
    return false;
}

// ---- loading the open order ----

void TfrmMain::LoadOrderTree() {
    auto query = OpenBoundQuery(
        QStringLiteral("SELECT proID,proCode,proName,custName,begDt,endDt FROM FProject WHERE "
                       "proID=:proID"),
        {{"proID", proID}});
    if (query->isActive() && query->next()) {
        trvProject->clear();
        auto* root = new QTreeWidgetItem(QStringList{FieldText(*query, "proName")});
        trvProject->addTopLevelItem(root);
        for (const char* column : {"proCode", "begDt", "endDt"})
            root->addChild(new QTreeWidgetItem(QStringList{FieldText(*query, column)}));
    }
    trvProject->expandAll();
}

void TfrmMain::LoadCabinetList() {
    CalcProperty();
    if (proID.isEmpty()) return;
    auto query = OpenBoundQuery(QStringLiteral("SELECT * FROM FProWins WHERE proID=:proID"),
                                {{"proID", proID}});
    lstWins->clear();
    // A command handled while the list loads may load it again (a new order, a deleted
    // entry); the newer load then owns the list and this one stops.
    const int generation = ++p_loadGeneration;
    int count = 0;
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    while (query->isActive() && query->next()) {
        const QImage thumbnail =
            DrawCabinetThumbnail(FieldText(*query, "winPath"), FieldFloat(*query, "Width"),
                                 FieldFloat(*query, "Height"));
        const QString caption =
            FieldText(*query, "winCode") + QStringLiteral("-") + FieldText(*query, "Width") +
            QStringLiteral("×") + FieldText(*query, "Depth") + QStringLiteral("×") +
            FieldText(*query, "Height") + QStringLiteral("×") + FieldText(*query, "winCount");
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(thumbnail)), caption, lstWins);
        item->setData(kWinIDRole, FieldText(*query, "winID"));
        ++count;
        // A long list stays responsive while the thumbnails are drawn. Pending input is
        // handled every few milliseconds rather than after every item, because each
        // round also lays the whole list out again.
        if (sinceEvents.elapsed() >= EventIntervalMs) {
            QApplication::processEvents();
            sinceEvents.restart();
            if (generation != p_loadGeneration) return;
        }
    }
    StatusPanel[2]->setText(QStringLiteral("当前共： ") + QString::number(count) +
                            QStringLiteral(" 个柜体！"));
}

// ---- order statistics ----

namespace {
struct FeeKind {
    const char* column;
    const char* label;
};
const FeeKind kFees[7] = {{"JGF", "加工费"}, {"AZF", "安装费"}, {"JXF", "机械费"},
                          {"SDF", "水电费"}, {"YSF", "运输费"}, {"GLF", "管理费"},
                          {"QTF", "其他费"}};

void SetCell(QTableWidget* grid, int row, int column, const QString& text) {
    auto* item = grid->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        grid->setItem(row, column, item);
    }
    item->setText(text);
}
}  // namespace

void TfrmMain::InitProperty() {
    SetCell(sgProperty, 0, 0, QStringLiteral("属性"));
    SetCell(sgProperty, 0, 1, QStringLiteral("值"));
    for (int c = 0; c < 2; ++c) {
        // Row 0 is the fixed heading row.
        sgProperty->item(0, c)->setBackground(palette().button());
        sgProperty->item(0, c)->setTextAlignment(Qt::AlignCenter);
    }
    for (int i = 0; i < 7; ++i) {
        SetCell(sgProperty, i + 1, 0, QString::fromUtf8(kFees[i].label));
        SetCell(sgProperty, i + 1, 1, QStringLiteral("0"));
    }
    SetCell(sgProperty, 8, 0, QStringLiteral("总费用"));
    SetCell(sgProperty, 8, 1, QStringLiteral("0"));
    SetCell(sgProperty, 9, 0, QString());
    SetCell(sgProperty, 9, 1, QString());
}

void TfrmMain::CalcProperty() {
    if (proID.isEmpty()) return;
    auto sizes = OpenBoundQuery(
        QStringLiteral("SELECT Height,Width,winCount FROM FProWins WHERE proID=:proID"),
        {{"proID", proID}});
    double area = 0;
    while (sizes->isActive() && sizes->next())
        area += FieldFloat(*sizes, "Height") * FieldFloat(*sizes, "Width") *
                FieldFloat(*sizes, "winCount") / 1000000.0;
    SetCell(sgProperty, 1, 0, QStringLiteral("总面积"));
    SetCell(sgProperty, 1, 1, kelm::FormatPattern(area, QStringLiteral("0.0㎡")));

    auto rates = OpenQuery(QStringLiteral("SELECT * FROM FProFei"));
    const bool haveRates = rates->isActive() && rates->next();
    double total = 0;
    for (int i = 0; i < 7; ++i) {
        const double rate = haveRates ? FieldFloat(*rates, kFees[i].column) : 0.0;
        const double amount = rate * area;
        total += amount;  // summed unrounded; rounding is for display only
        SetCell(sgProperty, i + 2, 0, QString::fromUtf8(kFees[i].label));
        SetCell(sgProperty, i + 2, 1, kelm::FormatPattern(amount, QStringLiteral("￥0.0")));
    }
    SetCell(sgProperty, 9, 0, QStringLiteral("总费用"));
    SetCell(sgProperty, 9, 1, kelm::FormatPattern(total, QStringLiteral("￥0.0")));
}

// ---- commands ----

void TfrmMain::OpenOrder(const QString& key, const QString& name) {
    proID = key;
    proName = name;
    LoadOrderTree();
    LoadCabinetList();
}

void TfrmMain::tlNewProClick() {
    TfrmProAdd dialog(this);
    ShowModal(dialog);
    if (!dialog.proID.isEmpty()) OpenOrder(dialog.proID, dialog.txtProName->text().trimmed());
}

void TfrmMain::tlOpenProClick() {
    TfrmProjects dialog(this);
    ShowModal(dialog);
    if (!dialog.proID.isEmpty()) OpenOrder(dialog.proID, dialog.proName);
}

void TfrmMain::tlDesignClick() {
    if (!RequireOrder(kNeedOrderForCabinet)) return;
    if (OpenCombinationDesignerNew(this, proID)) LoadCabinetList();
}

void TfrmMain::tlWinSelClick() {
    if (!RequireOrder(kNeedOrderForCabinet)) return;
    if (OpenCabinetFromLibrary(this, proID)) LoadCabinetList();
}

void TfrmMain::tlEditClick() {
    if (!RequireSelection(QStringLiteral("请选择要修改的柜体！"))) return;
    auto query = OpenBoundQuery(
        QStringLiteral("SELECT winID,winCode,Width,Height,Depth,winCount,winPath,custID,"
                       "custName,FengB FROM FProWins WHERE winID=:winID"),
        {{"winID", SelectedWinID()}});
    if (!query->isActive() || !query->next()) return;
    TCabinetEntry entry;
    entry.winID = FieldText(*query, "winID");
    entry.winCode = FieldText(*query, "winCode");
    entry.Width = FieldText(*query, "Width");
    entry.Height = FieldText(*query, "Height");
    entry.Depth = FieldText(*query, "Depth");
    entry.winCount = FieldText(*query, "winCount");
    entry.winPath = FieldText(*query, "winPath");
    entry.custID = FieldText(*query, "custID");
    entry.custName = FieldText(*query, "custName");
    entry.FengB = FieldText(*query, "FengB");
    query.reset();
    if (OpenCombinationDesignerEdit(this, proID, entry)) LoadCabinetList();
}

// The delete question names the entry, so a wrong selection is seen before it is too
// late: "确定要删除柜体“G1”（宽600×深500×高800）吗？". An entry that cannot be read
// is asked about in the general words.
static QString DeleteQuestion(const QString& winID) {
    auto query = OpenBoundQuery(
        QStringLiteral("SELECT winCode,Width,Height,Depth FROM FProWins WHERE winID=:winID"),
        {{"winID", winID}});
    if (!query->isActive() || !query->next()) return QStringLiteral("确定要删除选择的柜体吗？");
    return QStringLiteral("确定要删除柜体“%1”（宽%2×深%3×高%4）吗？")
        .arg(FieldText(*query, "winCode"), FieldText(*query, "Width"),
             FieldText(*query, "Depth"), FieldText(*query, "Height"));
}

void TfrmMain::tlDelClick() {
    if (!RequireSelection(QStringLiteral("请选择柜体后，再删除！"))) return;
    const QString key = SelectedWinID();
    if (!AskConfirm(DeleteQuestion(key))) return;
    SetCommonSQL(QStringLiteral("DELETE FROM FProWins WHERE winID=:winID"));
    SetCommonParam("winID", key);
    // The panels go only with their entry: when the entry was not deleted, nothing else
    // changes.
    if (!ExecCommon()) return;
    SetCommonSQL(QStringLiteral("DELETE FROM FProCl WHERE winID=:winID"));
    SetCommonParam("winID", key);
    ExecCommon();  // an entry without panels deletes none, which is fine
    LoadCabinetList();
}

void TfrmMain::RunReport(TReportKind kind, const QString& winID) {
    SaveDia->FileName.clear();
    if (!SaveDia->Execute()) return;
    ExportReport(kind, SaveDia->FileName, proID, winID, ColorDialog1->Color);
}

void TfrmMain::tlSizeRptClick() {
    if (!RequireSelection(kNeedCabinetToView)) return;
    RunReport(TReportKind::SizeSheet, SelectedWinID());
}

void TfrmMain::mnuDrawRptClick() {
    if (!RequireSelection(kNeedCabinetToView)) return;
    RunReport(TReportKind::DrawingSheet, SelectedWinID());
}

void TfrmMain::mnuPanelRptClick() {
    if (!RequireOrder(QStringLiteral("请先打开或创建订单！"))) return;
    RunReport(TReportKind::PanelList, QString());
}

void TfrmMain::tlOptClick() {
    if (!RequireOrder(QStringLiteral("请打开订单后，再进行板材切割优化计算！"))) return;
    OpenOptimization(this, proID);
}

void TfrmMain::tlCutRptClick() {
    if (!RequireOrder(QStringLiteral("请打开或创建订单后，再查看报表！"))) return;
    // Layouts that no longer match the panels are named before anything is shown or
    // printed. The layouts on screen; printing, PDF, labels and the spreadsheet report
    // start there.
    if (!ConfirmStoredLayouts(this, proID)) return;
    TfrmLayoutView view(proID, this);
    ShowModal(view);
}

void TfrmMain::tlWuLiaoClick() { OpenMaterials(this); }

void TfrmMain::mnuYuLiaoClick() { OpenOffcuts(this); }
void TfrmMain::tlWinKuClick() { OpenCabinetLibrary(this); }
void TfrmMain::tlSettingsClick() { OpenSettings(this); }
void TfrmMain::mnuPZBZClick() { OpenDrillingStandards(this); }
void TfrmMain::mnuRestoreClick() {
    OpenRestore(this);
    ReloadAfterRestore();
}

void TfrmMain::ReloadAfterRestore() {
    // The restored database may hold other settings, and the open order may be changed
    // or missing there: nothing of the old database stays on the screen.
    ReadSettings();
    if (proID.isEmpty()) return;
    auto query = OpenBoundQuery(QStringLiteral("SELECT proID,proName FROM FProject WHERE proID=:proID"),
                                {{"proID", proID}});
    if (query->isActive() && query->next()) {
        const QString name = FieldText(*query, "proName");
        query.reset();
        OpenOrder(proID, name);
        return;
    }
    query.reset();
    proID.clear();
    proName.clear();
    ++p_loadGeneration;  // a list still loading stops
    trvProject->clear();
    lstWins->clear();
    InitProperty();
    StatusPanel[2]->clear();
}
void TfrmMain::mnuBackupClick() { OpenBackup(this); }

void TfrmMain::mnuCustomerClick() {
    TfrmCustomer dialog(this);
    dialog.tlSel->setEnabled(false);
    ShowModal(dialog);
}

void TfrmMain::mnuDataDctClick() {
    TfrmDataDct dialog(this);
    ShowModal(dialog);
}

void TfrmMain::mnuAboutClick() {
    TfrmAbout dialog(this);
    ShowModal(dialog);
}
