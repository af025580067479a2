#pragma once
// TfrmProEdit: edits the order proID (set by the caller with the fields filled);
// isOk tells the caller the change was stored.

#include "ui/orders/UProForm.h"

class TfrmProEdit : public TProFormBase {
    Q_OBJECT
  public:
    explicit TfrmProEdit(QWidget* parent = nullptr);
    QString proID;
    bool isOk = false;
    void btnOKClick() override;
};
