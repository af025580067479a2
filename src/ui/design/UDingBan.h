#pragma once
// TfrmDingBan: adds a top board (rectangular or with a rounded end).

#include "ui/design/UBoardDlg.h"

class TfrmDingBan : public TBoardDlgBase {
    Q_OBJECT
  public:
    explicit TfrmDingBan(QWidget* parent = nullptr);
};
