#include "ui/design/UBkCtSub.h"

#include <QLineEdit>

#include "data/UnitData.h"
#include "ui/UiChecks.h"

TfrmBkCtSub::TfrmBkCtSub(QWidget* parent)
    : TfrmBkCateForm(parent, "frmBkCtSub", QStringLiteral("新增子级类别")) {}

void TfrmBkCtSub::btnOKClick() {
    if (CheckRequiredField(txtMC, QStringLiteral("请输入类别名称！"))) return;
    const QString name = txtMC->text().trimmed();
    SetCommonSQL(QStringLiteral("INSERT INTO FCpCls(KSName,parID) VALUES(:KSMC,:parID)"));
    SetCommonParam(QStringLiteral("KSMC"), name);
    SetCommonParam(QStringLiteral("parID"), parBH);
    if (!ExecCommon()) return;
    IsOK = true;
    tmpMC = name;
    ShowInfo(QStringLiteral("新增类别成功！"));
    accept();
}
