#pragma once
// TfrmYlEdit: changes the raw material ylID; isOk tells the caller it was stored.

#include "ui/orders/UnitYlForm.h"

class TfrmYlEdit : public TYlFormBase {
    Q_OBJECT
  public:
    explicit TfrmYlEdit(QWidget* parent = nullptr);

    QString ylID;
    bool isOk = false;

    void btnOKClick() override;
};
