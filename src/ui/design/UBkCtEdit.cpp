#include "ui/design/UBkCtEdit.h"

#include <QLineEdit>
#include <QSqlQuery>

#include "data/UnitData.h"
#include "ui/UiChecks.h"
#include "ui/UiQuery.h"

TfrmBkCtEdit::TfrmBkCtEdit(QWidget* parent)
    : TfrmBkCateForm(parent, "frmBkCtEdit", QStringLiteral("修改类别")) {}

void TfrmBkCtEdit::showEvent(QShowEvent* event) {
    TfrmBkCateForm::showEvent(event);
    LoadName();
}

void TfrmBkCtEdit::LoadName() {
    auto query = OpenBoundQuery(QStringLiteral("SELECT KSName FROM FCpCls WHERE KSID=:KSID"),
                                {{QStringLiteral("KSID"), KSID}});
    if (query->next()) txtMC->setText(FieldText(*query, "KSName"));
}

void TfrmBkCtEdit::btnOKClick() {
    if (CheckRequiredField(txtMC, QStringLiteral("请输入类别名称！"))) return;
    SetCommonSQL(QStringLiteral("UPDATE FCpCls SET KSName=:KSName WHERE KSID=:KSID"));
    SetCommonParam(QStringLiteral("KSName"), txtMC->text().trimmed());
    SetCommonParam(QStringLiteral("KSID"), KSID);
    if (!ExecCommon()) return;
    ShowInfo(QStringLiteral("类别修改成功！"));
    IsOk = true;
    accept();
}
