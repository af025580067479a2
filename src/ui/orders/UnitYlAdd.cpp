#include "ui/orders/UnitYlAdd.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include "data/UnitData.h"

TfrmYlAdd::TfrmYlAdd(QWidget* parent) : TYlFormBase(parent) {
    setObjectName("frmYlAdd");
    setWindowTitle(QStringLiteral("新增原材"));
    txtLength->setText(QStringLiteral("2440"));
    txtWidth->setText(QStringLiteral("1220"));
    txtHoudu->setText(QStringLiteral("18"));
}

void TfrmYlAdd::btnOKClick() {
    if (!CheckFields()) return;
    SetCommonSQL(
        QStringLiteral("INSERT INTO FCl(cateID,ylCode,ylName,length,color,bz,width,houdu) "
                       "VALUES(:cateID,:ylCode,:ylName,:length,:color,:bz,:width,:houdu)"));
    SetFieldParams();
    if (!ExecCommon()) return;
    ShowInfo(QStringLiteral("添加成功！"));
    emit MaterialAdded();
    // Code, width, thickness and category stay for the next material of the series.
    txtYlName->clear();
    txtLength->clear();
    txtColor->clear();
    txtBz->clear();
}
