#pragma once
// TfrmBkCtEdit: "修改类别" of the cabinet library. Shows the name of category KSID when
// it opens and stores the edited name; on success IsOk is set.

#include "ui/design/UBkCateForm.h"

class TfrmBkCtEdit : public TfrmBkCateForm {
    Q_OBJECT
  public:
    explicit TfrmBkCtEdit(QWidget* parent = nullptr);

    QString KSID;
    bool IsOk = false;

    void LoadName();  // when shown
    void btnOKClick() override;

  protected:
    void showEvent(QShowEvent* event) override;
};
