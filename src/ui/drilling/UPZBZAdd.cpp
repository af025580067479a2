#include "ui/drilling/UPZBZAdd.h"

#include "data/UnitData.h"

TfrmPZBZAdd::TfrmPZBZAdd(QWidget* parent) : TPZBZFormBase(parent) {
    setObjectName("frmPZBZAdd");
    setWindowTitle(QStringLiteral("新增排钻标准"));
}

void TfrmPZBZAdd::btnOKClick() {
    if (!InputValid()) return;
    SetCommonSQL(
        QStringLiteral("INSERT INTO FPKBZ(minVal,maxVal,kwstr) VALUES(:minVal,:maxVal,:kwstr)"));
    BindRuleFields();
    if (!ExecCommon()) return;
    IsOk = true;
    ShowInfo(QStringLiteral("添加成功！"));
    accept();
}
