#include "ui/optimize/UOptBl.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlQuery>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "common/NumberFormat.h"
#include "data/UnitData.h"
#include "documents/ULayoutParts.h"
#include "documents/UOffcutStore.h"
#include "documents/UnitFileOpt.h"
#include "optimizer/UnitD2RectLimits.h"
#include "ui/UiPlatform.h"
#include "ui/optimize/ULayoutView.h"
#include "ui/UiQuery.h"

namespace {
QTreeWidget* NewList(QWidget* parent, const char* name, const QStringList& headers) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setHeaderLabels(headers);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setAllColumnsShowFocus(true);
    // Grid lines between the cells of the report.
    list->setStyleSheet(QStringLiteral(
        "QTreeView::item { border-right: 1px solid #d0d0d0; border-bottom: 1px solid #d0d0d0; }"
        "QTreeView::item:selected { background: palette(highlight); "
        "color: palette(highlighted-text); }"));
    return list;
}

// A number read from a list cell; false when the text is not one.
bool NumberOf(const QString& text, double& value) {
    return kelm::ParseNumber(text.trimmed(), value) && std::isfinite(value);
}

// A trim margin of the settings: whole millimetres, never negative.
int32_t Trim(int value) { return std::max(value, 0); }

void SetAllChecked(QTreeWidget* list, int column, Qt::CheckState state) {
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        list->topLevelItem(i)->setCheckState(column, state);
}

void ShowConversionError(const QString& what) {
    ShowInfo(QStringLiteral("“%1”的尺寸或数量不是有效的数字，优化计算已停止！").arg(what));
}
}  // namespace

TfrmOptBl::TfrmOptBl(QWidget* parent) : QDialog(parent) {
    setObjectName("frmOptBl");
    setWindowTitle(QStringLiteral("板材切割排样优化"));

    GroupBox1 = new QGroupBox(QStringLiteral("板材原料"), this);
    GroupBox1->setObjectName("GroupBox1");
    lstBlYp = NewList(GroupBox1, "lstBlYp",
                      {QStringLiteral("选择"), QStringLiteral("板材ID"), QStringLiteral("板材名称"),
                       QStringLiteral("长"), QStringLiteral("宽"), QStringLiteral("厚度")});
    lstBlYp->setColumnWidth(colYpCheck, 44);
    lstBlYp->setColumnWidth(colYpID, 60);
    lstBlYp->setColumnWidth(colYpName, 130);
    lstBlYp->setColumnWidth(colYpLength, 60);
    lstBlYp->setColumnWidth(colYpWidth, 60);
    lstBlYp->setColumnWidth(colYpThick, 50);
    (new QVBoxLayout(GroupBox1))->addWidget(lstBlYp);

    GroupBox2 = new QGroupBox(QStringLiteral("使用的板材列表"), this);
    GroupBox2->setObjectName("GroupBox2");
    lstBlList = NewList(GroupBox2, "lstBlList",
                        {QStringLiteral("序号"), QStringLiteral("板件名称"), QStringLiteral("长"),
                         QStringLiteral("宽"), QStringLiteral("块数"), QString()});
    lstBlList->setColumnWidth(colBlNo, 50);
    lstBlList->setColumnWidth(colBlName, 150);
    lstBlList->setColumnWidth(colBlLength, 60);
    lstBlList->setColumnWidth(colBlWidth, 60);
    lstBlList->setColumnWidth(colBlCount, 50);
    // The grain code travels with the row without being shown.
    lstBlList->setColumnHidden(colBlGrain, true);
    (new QVBoxLayout(GroupBox2))->addWidget(lstBlList);

    btnOK = new QPushButton(QStringLiteral("开始优化计算"), this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(0);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    mnuSelAll = PopupMenu1->addAction(QStringLiteral("全选(&A)"));
    mnuSelAll->setObjectName("mnuSelAll");
    PopupMenu1->addSeparator();
    mnuUnSelAll = PopupMenu1->addAction(QStringLiteral("全反选"));
    mnuUnSelAll->setObjectName("mnuUnSelAll");
    lstBlYp->setContextMenuPolicy(Qt::CustomContextMenu);

    auto* lists = new QHBoxLayout;
    lists->addWidget(GroupBox1, 1);
    lists->addWidget(GroupBox2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    // The stored layouts on screen, once a run has stored some.
    btnView = new QPushButton(QStringLiteral("查看开料图"), this);
    btnView->setObjectName("btnView");
    btnView->setEnabled(false);
    buttons->addWidget(btnView);
    btnCutOK = new QPushButton(QStringLiteral("确认开料"), this);
    btnCutOK->setObjectName("btnCutOK");
    btnCutOK->setEnabled(false);
    buttons->addWidget(btnCutOK);
    buttons->addWidget(btnOK);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);
    layout->addWidget(ProgressBar1);
    resize(900, 520);

    // Only the selection decides the panel list: ticking a material does not change
    // it, so a tick (or a whole select-all) does not read the list again.
    connect(lstBlYp, &QTreeWidget::itemSelectionChanged, this, [this] { lstBlYpChange(); });
    connect(lstBlYp, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        PopupMenu1->popup(lstBlYp->viewport()->mapToGlobal(pos));
    });
    connect(mnuSelAll, &QAction::triggered, this, [this] { mnuSelAllClick(); });
    connect(mnuUnSelAll, &QAction::triggered, this, [this] { mnuUnSelAllClick(); });
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnView, &QPushButton::clicked, this, [this] { btnViewClick(); });
    connect(btnCutOK, &QPushButton::clicked, this, [this] { btnCutOKClick(); });

    FormCreate();
}

TfrmOptBl::~TfrmOptBl() {
    // Never left with a search running; should it happen, the search is stopped and
    // its end awaited here, so it cannot report to a freed window.
    if (d2Ga || d2Deep) {
        isStop = true;
        if (d2Ga) d2Ga->IsEnd = true;
        if (d2Deep) d2Deep->IsEnd = true;
        FinishRun();
    }
}

void TfrmOptBl::FormCreate() { sysSet = GetSysSet(); }

void TfrmOptBl::FormShow() {
    LoadBCSByProID();
    UpdateCutButton();
}

void TfrmOptBl::UpdateCutButton() {
    const bool uncut = !proID.isEmpty() && TOffcutStore().HasUncut(proID);
    btnCutOK->setEnabled(uncut);
    if (uncut) btnView->setEnabled(true);
}

void TfrmOptBl::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    FormShow();
}

void TfrmOptBl::LoadBCSByProID() {
    p_loading = true;
    lstBlYp->clear();
    lstBlList->clear();
    auto query =
        OpenBoundQuery(QStringLiteral("SELECT distinct ylID,ylName,length,width,houdu FROM vProYC "
                                      "WHERE proID=:proID ORDER BY houdu"),
                       {{QStringLiteral("proID"), proID}});
    while (query->next()) {
        auto* item = new QTreeWidgetItem;
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(colYpCheck, Qt::Checked);
        item->setText(colYpID, FieldText(*query, QStringLiteral("ylID")));
        item->setText(colYpName, FieldText(*query, QStringLiteral("ylName")));
        item->setText(colYpLength, FieldText(*query, QStringLiteral("length")));
        item->setText(colYpWidth, FieldText(*query, QStringLiteral("width")));
        item->setText(colYpThick, FieldText(*query, QStringLiteral("houdu")));
        lstBlYp->addTopLevelItem(item);
    }
    p_loading = false;
}

QTreeWidgetItem* TfrmOptBl::SelectedMaterial() const {
    const QList<QTreeWidgetItem*> selected = lstBlYp->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void TfrmOptBl::lstBlYpChange() {
    if (p_loading) return;
    QTreeWidgetItem* item = SelectedMaterial();
    if (!item) return;
    lstBlList->clear();
    // The same groups the stale-layout check compares a stored layout with.
    int row = 0;
    for (const TPanelGroup& group : ReadMaterialPanels(proID, item->text(colYpID))) {
        auto* entry = new QTreeWidgetItem;
        entry->setText(colBlNo, kelm::FormatInt(++row));
        entry->setText(colBlName, group.name);
        entry->setText(colBlLength, group.length);
        entry->setText(colBlWidth, group.width);
        entry->setText(colBlCount, group.count);
        entry->setText(colBlGrain, group.wl);
        lstBlList->addTopLevelItem(entry);
    }
}

void TfrmOptBl::SetPrm() {
    prm = TD2RPrm();
    switch (sysSet.OptT1) {
        case 0:
            prm.OptTime = 15;
            break;
        case 2:
            prm.OptTime = 60;
            break;
        default:
            prm.OptTime = 30;
            break;
    }
    // Parts are laid out a saw kerf apart, or they come out of the saw undersized.
    prm.BladeWidth = std::isfinite(sysSet.Blade) && sysSet.Blade > 0 ? sysSet.Blade : 0;
    prm.Priority = TD2RPriority::Uti;
    prm.FirstCut = TD2RFirstCut::HV;
    prm.LayStyle = TD2RLayStyle::regular;
    prm.WenLu = 0;
    // The trim margins of the settings stay free on every sheet (rough or damaged edges).
    prm.Edg.Top = Trim(sysSet.TrimTop);
    prm.Edg.Bottom = Trim(sysSet.TrimBottom);
    prm.Edg.Left = Trim(sysSet.TrimLeft);
    prm.Edg.Right = Trim(sysSet.TrimRight);
    prm.Bin.Length = 100;
    prm.Bin.Width = 100;
    prm.lingyin = 1;
    prm.wucha = 0;
    // The receivers are the windows themselves (see TD2RMessageForwarder).
    prm.Hd = 0;
    prm.Hd1 = 0;
}

void TfrmOptBl::SetRawArr() {
    rawArr.clear();
    QTreeWidgetItem* item = SelectedMaterial();
    if (!item || item->checkState(colYpCheck) != Qt::Checked) return;
    TD2RRaw raw;
    raw.XH = 1;
    raw.DbID = item->text(colYpID);
    raw.Price = 1.0;
    raw.Prio = 0;
    if (!NumberOf(item->text(colYpLength), raw.Length) ||
        !NumberOf(item->text(colYpWidth), raw.Width)) {
        ShowConversionError(item->text(colYpName));
        rawArr.clear();
        isStop = true;
        return;
    }
    raw.Count = 99999999;
    rawArr.push_back(raw);
    // The material's offcuts in stock are used before a new sheet is started.
    AddOffcutRaws(rawArr, TOffcutStore().InStock(raw.DbID), raw.DbID);
}

bool TfrmOptBl::SetEleArr() {
    std::vector<TPanelGroup> groups;
    for (int i = 0; i < lstBlList->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = lstBlList->topLevelItem(i);
        groups.push_back({row->text(colBlName), row->text(colBlLength), row->text(colBlWidth),
                          row->text(colBlCount), row->text(colBlGrain)});
    }
    QString bad;
    if (PartsFromPanels(groups, eleArr, &bad)) return true;
    ShowConversionError(bad);
    return false;
}

bool TfrmOptBl::PieceCountWithinLimit(const QString& material) {
    int64_t pieces = 0;
    for (const TD2REle& e : eleArr) pieces += e.Count;
    if (pieces <= kMaxPiecesPerRun) return true;
    // Far longer lists would not finish in reasonable time and memory.
    ShowInfo(QStringLiteral("“%1”的板件共%2件，超过单次优化的上限%3件，优化计算已停止！")
                 .arg(material)
                 .arg(pieces)
                 .arg(kMaxPiecesPerRun));
    eleArr.clear();
    return false;
}

void TfrmOptBl::btnOKClick() {
    // A second batch cannot start inside the first one (it could while a cancelled
    // search is being awaited).
    if (p_running) return;
    // Layouts confirmed as cut are what the saw made of the boards: they are replaced only
    // when the user says so.
    if (TOffcutStore().IsCut(proID) &&
        !AskConfirm(QStringLiteral("该订单的排料结果已确认开料，重新优化将替换已开料的排料结果"
                                   "（已入库和已使用的余料不变）。确定要重新优化吗？")))
        return;
    p_running = true;
    btnOK->setEnabled(false);
    RunBatch();
    btnOK->setEnabled(true);
    btnView->setEnabled(true);
    p_running = false;
    UpdateCutButton();
}

void TfrmOptBl::btnCutOKClick() {
    if (p_running) return;
    TOffcutStore store;
    if (!store.HasUncut(proID)) {
        ShowInfo(QStringLiteral("该订单没有尚未确认开料的排料结果！"));
        UpdateCutButton();
        return;
    }
    const std::vector<TStaleLayout> stale = FindStaleLayouts(proID);
    const QString question =
        stale.empty() ? QStringLiteral("确认按当前排料结果开料吗？确认后将保存本次开料的余料，"
                                       "并扣除排料所用的余料。")
                      : StaleLayoutsText(stale) + QStringLiteral("\n\n仍要按当前排料结果确认开料吗？");
    if (!AskConfirm(question)) return;
    sysSet = GetSysSet();
    // Sizes of the settings in whole millimetres, rounded up so nothing smaller is kept.
    auto whole = [](double v) {
        return static_cast<int32_t>(std::isfinite(v) && v > 0 ? std::min(std::ceil(v), 1e6) : 0);
    };
    const TBin min{whole(sysSet.MinOffcutLength), whole(sysSet.MinOffcutWidth)};
    TCutConfirmation done;
    QString error;
    if (!store.ConfirmCut(proID, min, &done, &error)) {
        ShowInfo(error);
    } else {
        ShowInfo(QStringLiteral("确认开料成功！共%1个排料结果，入库余料%2块，使用余料%3块。")
                     .arg(done.layouts)
                     .arg(done.kept)
                     .arg(done.consumed));
    }
    UpdateCutButton();
}

void TfrmOptBl::btnViewClick() {
    TfrmLayoutView view(proID, this);
    ShowModal(view);
}

void TfrmOptBl::reject() {
    if (!p_running) QDialog::reject();
}

void TfrmOptBl::closeEvent(QCloseEvent* e) {
    if (p_running) {
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

void TfrmOptBl::RunBatch() {
    SetCommonSQL(QStringLiteral("DELETE FROM FProBCCut WHERE proID=:proID"));
    SetCommonParam(QStringLiteral("proID"), proID);
    ExecCommon();

    const int count = lstBlYp->topLevelItemCount();
    ProgressBar1->setRange(0, std::max(count, 1));
    ProgressBar1->setValue(0);
    SetPrm();
    isStop = false;
    for (int i = 0; i < count; ++i) {
        QTreeWidgetItem* item = lstBlYp->topLevelItem(i);
        lstBlYp->setCurrentItem(item);
        item->setSelected(true);
        lstBlYpChange();
        if (isStop) break;
        SetRawArr();
        if (isStop) return;  // the material's size could not be read; already said
        if (rawArr.empty()) continue;
        if (!SetEleArr()) return;
        if (!PieceCountWithinLimit(item->text(colYpName))) return;
        RunSelected();
        ProgressBar1->setValue(ProgressBar1->value() + 1);
    }
    ShowInfo(QStringLiteral("板材切割优化排样方案计算完毕！"));
}

void TfrmOptBl::RunSelected() {
    p_progress = new TfrmCulcControler(this);
    p_progress->hd = this;
    p_progress->ProgressBar1->setRange(0, prm.OptTime);
    p_forwarder.Hd = p_progress;
    p_forwarder.Hd1 = this;
    p_done = false;
    if (sysSet.OptT1 == 2) {
        TD2RDeepOptions options;
        // A stored time outside what the settings window accepts (a file edited by
        // hand) falls back to the default rather than running without end.
        const int seconds = sysSet.DeepSeconds;
        options.TimeLimit = seconds >= 1 && seconds <= 3600 ? seconds : TSysSet().DeepSeconds;
        options.Seed = Seed;
        d2Deep = new TD2RDeep(rawArr, prm, eleArr, options);
        d2Deep->SetListener(&p_forwarder);
        d2Deep->Start();
    } else {
        d2Ga = new TD2Rect(rawArr, prm, eleArr, Seed);
        d2Ga->SetListener(&p_forwarder);
        d2Ga->Start();
    }
    ShowModal(*p_progress);
    FinishRun();
}

void TfrmOptBl::FinishRun() {
    if (d2Ga || d2Deep) {
        // The progress window may close before the search has ended (a cancel): its
        // end is awaited with the event loop running, since the search hands each of
        // its reports to this thread and waits for it to be taken.
        if (!p_done) {
            QEventLoop wait;
            p_wait = &wait;
            wait.exec();
            p_wait = nullptr;
        }
        // The end has been handled, so the search thread is only returning now.
        if (d2Ga) d2Ga->Wait();
        if (d2Deep) d2Deep->Wait();
        delete d2Ga;
        d2Ga = nullptr;
        delete d2Deep;
        d2Deep = nullptr;
    }
    p_forwarder.Hd = nullptr;
    delete p_progress;
    p_progress = nullptr;
}

void TfrmOptBl::ReciveResult() {
    p_done = true;
    if (p_wait) p_wait->quit();
    if (isStop || (!d2Ga && !d2Deep)) return;
    Schame = d2Ga ? d2Ga->BestSchame : d2Deep->BestSchame;
    // A search that could place nothing has no layout to keep.
    if (!Schame.empty()) {
        QTreeWidgetItem* item = SelectedMaterial();
        TD2File().SaveToFile(rawArr, eleArr, prm, Schame, proID,
                             item ? item->text(colYpID) : QString());
    }
    if (p_progress) p_progress->CloseWindow();
}

void TfrmOptBl::ReciveStop() {
    if (d2Ga) d2Ga->IsEnd = true;
    if (d2Deep) d2Deep->IsEnd = true;
}

void TfrmOptBl::ReciveStop1() {
    if (d2Ga) d2Ga->IsEnd = true;
    if (d2Deep) d2Deep->IsEnd = true;
    isStop = true;
}

void TfrmOptBl::mnuSelAllClick() { SetAllChecked(lstBlYp, colYpCheck, Qt::Checked); }

void TfrmOptBl::mnuUnSelAllClick() { SetAllChecked(lstBlYp, colYpCheck, Qt::Unchecked); }

bool TfrmOptBl::event(QEvent* e) {
    if (e->type() == TD2RMessage::EventType()) {
        switch (static_cast<TD2RMessage*>(e)->Msg) {
            case WM_D2R_DONE:
                ReciveResult();
                break;
            case WM_D2R_ACCEPT:
                ReciveStop();
                break;
            case WM_D2R_CANCEL:
                ReciveStop1();
                break;
            default:
                break;
        }
        return true;
    }
    return QDialog::event(e);
}
