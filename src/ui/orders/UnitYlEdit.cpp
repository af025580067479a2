#include "ui/orders/UnitYlEdit.h"

#include "data/UnitData.h"

TfrmYlEdit::TfrmYlEdit(QWidget* parent) : TYlFormBase(parent) {
    setObjectName("frmYlEdit");
    setWindowTitle(QStringLiteral("修改原料"));
}

void TfrmYlEdit::btnOKClick() {
    if (!CheckFields()) return;
    // The key comes from the material list; a key that is not a counter is never spliced.
    if (!IsCounterKey(ylID)) return;
    SetCommonSQL(
        QStringLiteral("UPDATE FCl SET cateID=:cateID,ylCode=:ylCode,ylName=:ylName,length=:length,"
                       "color=:color,bz=:bz,width=:width,houdu=:houdu WHERE ylID=") +
        ylID);
    SetFieldParams();
    if (!ExecCommon()) return;
    ShowInfo(QStringLiteral("修改成功！"));
    isOk = true;
    accept();
}
