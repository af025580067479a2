#pragma once
// TfrmCustEdit: edits the customer custID (fields filled by the caller); IsOk tells
// the caller the change was stored.

#include "ui/orders/UCustForm.h"

class TfrmCustEdit : public TCustFormBase {
    Q_OBJECT
  public:
    explicit TfrmCustEdit(QWidget* parent = nullptr);
    QString custID;
    void btnOKClick() override;
};
