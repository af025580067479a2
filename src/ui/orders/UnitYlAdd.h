#pragma once
// TfrmYlAdd: adds raw materials one after the other; after each stored material it tells
// the materials window (MaterialAdded) so its list shows the new row at once.

#include "ui/orders/UnitYlForm.h"

class TfrmYlAdd : public TYlFormBase {
    Q_OBJECT
  public:
    explicit TfrmYlAdd(QWidget* parent = nullptr);
    void btnOKClick() override;

  signals:
    void MaterialAdded();
};
