#pragma once
// TfrmBkCtSub: "新增子级类别" of the cabinet library. Stores a category named txtMC under
// the parent parBH; on success IsOK is set and tmpMC holds the stored name.

#include "ui/design/UBkCateForm.h"

class TfrmBkCtSub : public TfrmBkCateForm {
    Q_OBJECT
  public:
    explicit TfrmBkCtSub(QWidget* parent = nullptr);

    QString parBH;  // parent category ID ("0" for the top level)
    QString tmpMC;
    bool IsOK = false;

    void btnOKClick() override;
};
