#include "ui/orders/UProAdd.h"

#include <QDateEdit>
#include <QDateTime>

#include "data/UnitData.h"

TfrmProAdd::TfrmProAdd(QWidget* parent) : TProFormBase(parent) {
    setObjectName("frmProAdd");
    setWindowTitle(QStringLiteral("新建生产单"));
    const QDate today = QDate::currentDate();
    dt1->setDate(today);
    dt2->setDate(today.addDays(10));
}

void TfrmProAdd::btnOKClick() {
    if (!RequiredFieldsGiven()) return;
    const QString newID = NewTimeID();
    SetCommonSQL(
        QStringLiteral("INSERT INTO FProject(proID,proCode,proName,begDt,endDt,bz) "
                       "VALUES(:proID,:proCode,:proName,:begDt,:endDt,:bz)"));
    SetCommonParam("proID", newID);
    BindOrderFields();
    // A failed insert (for instance a second order in the same second) keeps the
    // dialog open without a message so the user can try again.
    if (!ExecCommon()) return;
    proID = newID;
    ShowInfo(QStringLiteral("添加成功！"));
    accept();
}
