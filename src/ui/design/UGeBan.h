#pragma once
// TfrmGeBan: adds a vertical partition at X, its centre in mm from the cabinet's left.

#include "ui/design/UBoardDlg.h"

class TfrmGeBan : public TPosBoardDlgBase {
    Q_OBJECT
  public:
    explicit TfrmGeBan(QWidget* parent = nullptr);
    double X = 0;

  protected:
    bool ReadExtra() override { return ReadPosition(X); }
};
