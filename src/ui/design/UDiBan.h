#pragma once
// TfrmDiBan: adds a bottom board (rectangular or with a rounded end). Its spacing
// dialog always opens with 100 in the bottom field, the plinth height proposed anew.

#include "ui/design/UBoardDlg.h"

class TfrmDiBan : public TBoardDlgBase {
    Q_OBJECT
  public:
    explicit TfrmDiBan(QWidget* parent = nullptr);

  protected:
    void PrepareEdge(TfrmSetEdge& dialog) override;
};
