#pragma once
// TfrmShuBan: adds an upright board parallel to the front.

#include "ui/design/UBoardDlg.h"

class TfrmShuBan : public TBoardDlgBase {
    Q_OBJECT
  public:
    explicit TfrmShuBan(QWidget* parent = nullptr);
};
