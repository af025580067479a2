#include "ui/drilling/UPZBZ.h"

#include <QAction>
#include <QLineEdit>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "data/UnitData.h"
#include "ui/UiGrid.h"
#include "ui/UiPlatform.h"
#include "ui/drilling/UPZBZAdd.h"
#include "ui/drilling/UPZBZEdit.h"

TfrmPZBZ::TfrmPZBZ(QWidget* parent) : QDialog(parent) {
    setObjectName("frmPZBZ");
    setWindowTitle(QStringLiteral("排钻标准设置"));

    ToolBar1 = MakeToolBar(this, "ToolBar1");
    tlAdd = AddTool(ToolBar1, "tlAdd", QStringLiteral("新增标准"));
    tlEdit = AddTool(ToolBar1, "tlEdit", QStringLiteral("编辑"));
    tlDel = AddTool(ToolBar1, "tlDel", QStringLiteral("删除"));

    sgPZBZ = new QTableWidget(this);
    sgPZBZ->setObjectName("sgPZBZ");
    SetupRecordGrid(sgPZBZ, {QStringLiteral("尺寸范围"), QStringLiteral("打孔位置")});
    sgPZBZ->setColumnWidth(0, 180);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar1);
    layout->addWidget(sgPZBZ, 1);
    resize(520, 400);

    connect(tlAdd, &QAction::triggered, this, [this] { tlAddClick(); });
    connect(tlEdit, &QAction::triggered, this, [this] { tlEditClick(); });
    connect(tlDel, &QAction::triggered, this, [this] { tlDelClick(); });
    connect(sgPZBZ, &QTableWidget::cellDoubleClicked, this, [this] { tlEditClick(); });
}

void TfrmPZBZ::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    LoadRules();
}

void TfrmPZBZ::LoadRules() {
    // Same row order as the generator's "SELECT minVal,maxVal,kwstr FROM FPKBZ".
    auto query = OpenQuery(
        QStringLiteral("SELECT pkID,minVal,maxVal,kwstr,minVal || '<=尺寸<' || maxVal AS sizeFw "
                       "FROM FPKBZ"));
    FillRecordGrid(sgPZBZ, *query, {"sizeFw", "kwstr"});
}

void TfrmPZBZ::tlAddClick() {
    TfrmPZBZAdd dialog(this);
    ShowModal(dialog);
    if (dialog.IsOk) LoadRules();
}

void TfrmPZBZ::tlEditClick() {
    const int row = CurrentRecordRow(sgPZBZ);
    if (row < 0) {
        ShowInfo(QStringLiteral("请选择要修改的记录！"));
        return;
    }
    TfrmPZBZEdit dialog(this);
    dialog.pkID = RecordValue(sgPZBZ, row, "pkID");
    dialog.txtMin->setText(RecordValue(sgPZBZ, row, "minVal"));
    dialog.txtMax->setText(RecordValue(sgPZBZ, row, "maxVal"));
    dialog.txtKW->setText(RecordValue(sgPZBZ, row, "kwstr"));
    ShowModal(dialog);
    if (dialog.IsOk) LoadRules();
}

void TfrmPZBZ::tlDelClick() {
    const int row = CurrentRecordRow(sgPZBZ);
    if (row < 0) {
        ShowInfo(QStringLiteral("请选择要删除的记录！"));
        return;
    }
    if (!AskConfirm(QStringLiteral("确定要删除该记录吗？"))) return;
    SetCommonSQL(QStringLiteral("DELETE FROM FPKBZ WHERE pkID=:pkID"));
    SetCommonParam("pkID", RecordValue(sgPZBZ, row, "pkID"));
    if (ExecCommon()) LoadRules();
}
