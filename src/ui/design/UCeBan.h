#pragma once
// TfrmCeBan: adds a side board. The side (左侧板 / 右侧板) must be chosen before the
// spacing dialog opens and before 确定; it names the board and decides cbType.

#include "ui/design/UBoardDlg.h"

class QRadioButton;

class TfrmCeBan : public TBoardDlgBase {
    Q_OBJECT
  public:
    explicit TfrmCeBan(QWidget* parent = nullptr);

    QString cbType;  // "Left" or "Right"
    QRadioButton* optLeft;
    QRadioButton* optRight;

    void optLeftClick();
    void optRightClick();

  protected:
    bool PreCheck() override;
    bool EdgeAllowed() override;
    QString EdgeFields() const override;
};
