#include "ui/design/UBkCateAdd.h"

TfrmBkCateAdd::TfrmBkCateAdd(QWidget* parent)
    : TfrmBkCateForm(parent, "frmBkCateAdd", QStringLiteral("新增同级类别")) {}

void TfrmBkCateAdd::btnOKClick() {
    const QString name = InsertCategory(
        QStringLiteral("INSERT INTO FCpCls(KSName,parID) VALUES(:KSName,:parID)"),
        QStringLiteral("KSName"), parBH, QStringLiteral("请输入分类名称！"));
    if (name.isEmpty()) return;
    IsOK = true;
    tmpMC = name;
    accept();
}
