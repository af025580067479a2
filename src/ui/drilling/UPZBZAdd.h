#pragma once
// TfrmPZBZAdd: adds a drilling rule. IsOk tells the list window that a row was added.

#include "ui/drilling/UPZBZForm.h"

class TfrmPZBZAdd : public TPZBZFormBase {
    Q_OBJECT
  public:
    explicit TfrmPZBZAdd(QWidget* parent = nullptr);
    void btnOKClick() override;
};
