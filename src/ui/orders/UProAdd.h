#pragma once
// TfrmProAdd: creates an order. Hands back the new order's key in proID (empty when
// none was created).

#include "ui/orders/UProForm.h"

class TfrmProAdd : public TProFormBase {
    Q_OBJECT
  public:
    explicit TfrmProAdd(QWidget* parent = nullptr);
    QString proID;
    void btnOKClick() override;
};
