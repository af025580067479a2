#pragma once
// TfrmItmEdit: renames the dictionary item itmID; IsOk tells the caller it was stored.

#include "ui/orders/UItmForm.h"

class TfrmItmEdit : public TItmFormBase {
    Q_OBJECT
  public:
    explicit TfrmItmEdit(QWidget* parent = nullptr);
    QString itmID;
    void btnOKClick() override;
};
