#pragma once
// TfrmCustAdd: adds a customer; IsOk tells the caller one was stored.

#include "ui/orders/UCustForm.h"

class TfrmCustAdd : public TCustFormBase {
    Q_OBJECT
  public:
    explicit TfrmCustAdd(QWidget* parent = nullptr);
    void btnOKClick() override;
};
