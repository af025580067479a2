#include "ui/orders/UCustEdit.h"

#include "data/UnitData.h"

TfrmCustEdit::TfrmCustEdit(QWidget* parent) : TCustFormBase(parent) {
    setObjectName("frmCustEdit");
    setWindowTitle(QStringLiteral("编辑客户资料"));
}

void TfrmCustEdit::btnOKClick() {
    // The key is spliced bare into the statement, so only a whole number may go there;
    // anything else could change the statement.
    if (!IsCounterKey(custID)) return;
    StoreCustomer(QStringLiteral("UPDATE FCustomers SET custName=:custName,phone=:phone, "
                                 "address=:address,pursDate=:pursDate,bz=:bz WHERE custID=") +
                  custID);
}
