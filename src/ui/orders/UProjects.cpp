#include "ui/orders/UProjects.h"

#include <QAction>
#include <QDate>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "data/UnitData.h"
#include "ui/UiGrid.h"
#include "ui/UiQuery.h"
#include "ui/UiPlatform.h"
#include "ui/orders/UProAdd.h"
#include "ui/orders/UProEdit.h"

namespace {
const QStringList kShownColumns = {"proCode", "proName", "begDt", "endDt", "bz"};

QDate DateOf(const QString& text) {
    QDate date = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
    return date.isValid() ? date : QDate::currentDate();
}
}  // namespace

TfrmProjects::TfrmProjects(QWidget* parent) : QDialog(parent) {
    setObjectName("frmProjects");
    setWindowTitle(QStringLiteral("打开生产批次单"));

    ToolBar1 = MakeToolBar(this, "ToolBar1");
    ToolBar1->addWidget(new QLabel(QStringLiteral("关键字："), this));
    txtKey = new QLineEdit(this);
    txtKey->setObjectName("txtKey");
    txtKey->setFixedWidth(180);
    ToolBar1->addWidget(txtKey);
    tlAdd = AddTool(ToolBar1, "tlAdd", QStringLiteral("新增"));
    tlEdit = AddTool(ToolBar1, "tlEdit", QStringLiteral("编辑"));
    tlDel = AddTool(ToolBar1, "tlDel", QStringLiteral("删除"));
    ToolBar1->addSeparator();
    tlOpen = AddTool(ToolBar1, "tlOpen", QStringLiteral("打开(&O)"));

    sgProject = new QTableWidget(this);
    sgProject->setObjectName("sgProject");
    SetupRecordGrid(sgProject, {QStringLiteral("生产批次"), QStringLiteral("批次名称"),
                                QStringLiteral("开工日期"), QStringLiteral("完工日期"),
                                QStringLiteral("生产备注")});
    sgProject->setColumnWidth(0, 120);
    sgProject->setColumnWidth(1, 200);
    sgProject->setColumnWidth(2, 100);
    sgProject->setColumnWidth(3, 100);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    lbCount = new QLabel(this);
    lbCount->setObjectName("lbCount");
    StatusBar1->addWidget(lbCount, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar1);
    layout->addWidget(sgProject, 1);
    layout->addWidget(StatusBar1);
    resize(760, 480);

    connect(txtKey, &QLineEdit::textChanged, this, [this] { txtKeyChange(); });
    connect(tlAdd, &QAction::triggered, this, [this] { tlAddClick(); });
    connect(tlEdit, &QAction::triggered, this, [this] { tlEditClick(); });
    connect(tlDel, &QAction::triggered, this, [this] { tlDelClick(); });
    connect(tlOpen, &QAction::triggered, this, [this] { tlOpenClick(); });
    connect(sgProject, &QTableWidget::cellDoubleClicked, this, [this] { tlOpenClick(); });
}

void TfrmProjects::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TfrmProjects::ShowCount(int count) {
    lbCount->setText(QStringLiteral("满足条件的工程数量：") + QString::number(count));
}

void TfrmProjects::FormShow() {
    auto query = OpenQuery(QStringLiteral(
        "SELECT proID,proCode,proName,custName,begDt,endDt,bz FROM FProject ORDER BY begDt "
        "DESC"));
    ShowCount(FillRecordGrid(sgProject, *query, kShownColumns));
}

void TfrmProjects::txtKeyChange() {
    // The keyword is bound as a parameter: quotes and other SQL characters are
    // searched for literally instead of changing the statement.
    auto query = OpenBoundQuery(
        QStringLiteral("SELECT proID,proCode,proName,custName,begDt,endDt,bz FROM FProject "
                       "WHERE proName LIKE :key OR custName LIKE :key2"),
        {{"key", '%' + txtKey->text().trimmed() + '%'},
         {"key2", '%' + txtKey->text().trimmed() + '%'}});
    ShowCount(FillRecordGrid(sgProject, *query, kShownColumns));
}

void TfrmProjects::tlAddClick() {
    TfrmProAdd dialog(this);
    ShowModal(dialog);
    if (!dialog.proID.isEmpty()) FormShow();
}

void TfrmProjects::tlEditClick() {
    const int row = CurrentRecordRow(sgProject);
    if (row < 0) {
        ShowInfo(QStringLiteral("请先选择工程！！"));
        return;
    }
    TfrmProEdit dialog(this);
    dialog.proID = RecordValue(sgProject, row, "proID");
    dialog.txtProCode->setText(RecordValue(sgProject, row, "proCode"));
    dialog.txtProName->setText(RecordValue(sgProject, row, "proName"));
    dialog.dt1->setDate(DateOf(RecordValue(sgProject, row, "begDt")));
    dialog.dt2->setDate(DateOf(RecordValue(sgProject, row, "endDt")));
    dialog.txtBZ->setPlainText(RecordValue(sgProject, row, "bz"));
    ShowModal(dialog);
    if (dialog.isOk) txtKeyChange();
}

void TfrmProjects::tlDelClick() {
    const int row = CurrentRecordRow(sgProject);
    if (row < 0) {
        ShowInfo(QStringLiteral("请选择要删除的记录！"));
        return;
    }
    if (!AskConfirm(QStringLiteral("确定要删除选择的记录吗？删除后无法恢复！"))) return;
    SetCommonSQL(QStringLiteral("DELETE FROM FProject WHERE proID=:proID"));
    SetCommonParam("proID", RecordValue(sgProject, row, "proID"));
    if (ExecCommon()) txtKeyChange();
}

void TfrmProjects::tlOpenClick() {
    const int row = CurrentRecordRow(sgProject);
    if (row < 0) {
        ShowInfo(QStringLiteral("请选择要打开的工程！"));
        return;
    }
    proID = RecordValue(sgProject, row, "proID");
    proName = RecordValue(sgProject, row, "proName");
    accept();
}
