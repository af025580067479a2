#pragma once
// TfrmBeiBan: adds a back board.

#include "ui/design/UBoardDlg.h"

class TfrmBeiBan : public TBoardDlgBase {
    Q_OBJECT
  public:
    explicit TfrmBeiBan(QWidget* parent = nullptr);
};
