#pragma once
// TfrmItmAdd: adds a dictionary item under cateName; IsOk tells the caller it was stored.

#include "ui/orders/UItmForm.h"

class TfrmItmAdd : public TItmFormBase {
    Q_OBJECT
  public:
    explicit TfrmItmAdd(QWidget* parent = nullptr);
    QString cateName;
    void btnOKClick() override;
};
