#include "ui/orders/UCustAdd.h"

TfrmCustAdd::TfrmCustAdd(QWidget* parent) : TCustFormBase(parent) {
    setObjectName("frmCustAdd");
    setWindowTitle(QStringLiteral("新增客户"));
}

void TfrmCustAdd::btnOKClick() {
    StoreCustomer(
        QStringLiteral("Insert Into FCustomers(custName,phone,address,pursDate,bz) "
                       "VALUES(:custName,:phone,:address,:pursDate,:bz)"));
}
