#include "ui/design/UBkCtSub.h"

TfrmBkCtSub::TfrmBkCtSub(QWidget* parent)
    : TfrmBkCateForm(parent, "frmBkCtSub", QStringLiteral("新增子级类别")) {}

void TfrmBkCtSub::btnOKClick() {
    const QString name = InsertCategory(
        QStringLiteral("INSERT INTO FCpCls(KSName,parID) VALUES(:KSMC,:parID)"),
        QStringLiteral("KSMC"), parBH, QStringLiteral("请输入类别名称！"));
    if (name.isEmpty()) return;
    IsOK = true;
    tmpMC = name;
    accept();
}
