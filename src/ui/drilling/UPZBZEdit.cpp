#include "ui/drilling/UPZBZEdit.h"

#include "data/UnitData.h"

TfrmPZBZEdit::TfrmPZBZEdit(QWidget* parent) : TPZBZFormBase(parent) {
    setObjectName("frmPZBZEdit");
    setWindowTitle(QStringLiteral("修改"));
}

void TfrmPZBZEdit::btnOKClick() {
    if (!InputValid()) return;
    SetCommonSQL(QStringLiteral(
        "UPDATE FPKBZ SET minVal=:minVal,maxVal=:maxVal,kwstr=:kwstr WHERE pkID=:pkID"));
    BindRuleFields();
    SetCommonParam("pkID", pkID);
    if (!ExecCommon()) return;
    IsOk = true;
    ShowInfo(QStringLiteral("修改成功！"));
    accept();
}
