#pragma once
// TfrmPZBZEdit: changes the drilling rule pkID. IsOk tells the list window that the
// row was changed.

#include "ui/drilling/UPZBZForm.h"

class TfrmPZBZEdit : public TPZBZFormBase {
    Q_OBJECT
  public:
    explicit TfrmPZBZEdit(QWidget* parent = nullptr);
    QString pkID;
    void btnOKClick() override;
};
