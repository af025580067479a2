#pragma once
// TfrmBCR: adds a shelf (rectangular or with a rounded end) at height Y, the centre of
// the shelf in mm from the cabinet top.

#include "ui/design/UBoardDlg.h"

class TfrmBCR : public TPosBoardDlgBase {
    Q_OBJECT
  public:
    explicit TfrmBCR(QWidget* parent = nullptr);
    double Y = 0;

  protected:
    bool ReadExtra() override { return ReadPosition(Y); }
};
