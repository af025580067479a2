#include "ui/design/UBkCateAdd.h"

#include <QLineEdit>

#include "data/UnitData.h"
#include "ui/UiChecks.h"

TfrmBkCateAdd::TfrmBkCateAdd(QWidget* parent)
    : TfrmBkCateForm(parent, "frmBkCateAdd", QStringLiteral("新增同级类别")) {}

void TfrmBkCateAdd::btnOKClick() {
    if (CheckRequiredField(txtMC, QStringLiteral("请输入分类名称！"))) return;
    const QString name = txtMC->text().trimmed();
    SetCommonSQL(QStringLiteral("INSERT INTO FCpCls(KSName,parID) VALUES(:KSName,:parID)"));
    SetCommonParam(QStringLiteral("KSName"), name);
    SetCommonParam(QStringLiteral("parID"), parBH);
    if (!ExecCommon()) return;
    IsOK = true;
    tmpMC = name;
    ShowInfo(QStringLiteral("新增类别成功！"));
    accept();
}
