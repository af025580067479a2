#include "ui/orders/UProEdit.h"

#include "data/UnitData.h"

TfrmProEdit::TfrmProEdit(QWidget* parent) : TProFormBase(parent) {
    setObjectName("frmProEdit");
    setWindowTitle(QStringLiteral("生产批次编辑"));
}

void TfrmProEdit::btnOKClick() {
    if (!RequiredFieldsGiven()) return;
    SetCommonSQL(QStringLiteral(
        "UPDATE FProject SET proCode=:proCode,proName=:proName,begDt=:begDt,endDt=:endDt,"
        "bz=:bz WHERE proID=:proID"));
    BindOrderFields();
    SetCommonParam("proID", proID);
    if (!ExecCommon()) return;
    ShowInfo(QStringLiteral("修改成功！"));
    isOk = true;
    accept();
}
