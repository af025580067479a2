#pragma once
// TfrmBkCateAdd: "新增同级类别" of the cabinet library. Stores a category named txtMC under
// the parent parBH; on success IsOK is set and tmpMC holds the stored name.

#include "ui/design/UBkCateForm.h"

class TfrmBkCateAdd : public TfrmBkCateForm {
    Q_OBJECT
  public:
    explicit TfrmBkCateAdd(QWidget* parent = nullptr);

    QString parBH;  // parent category ID ("0" for the top level)
    QString tmpMC;
    bool IsOK = false;

    void btnOKClick() override;
};
