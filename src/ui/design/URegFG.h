#pragma once
// TfrmRegFG: asks for one position (mm) when a combination region is split. The opener
// writes the proposed position into txtVal; on 确定 the number is in val and IsOk is set.

#include <QDialog>

class QLineEdit;
class QPushButton;

class TfrmRegFG : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmRegFG(QWidget* parent = nullptr);

    bool IsOk = false;
    double val = 0;
    QLineEdit* txtVal;
    QPushButton* btnOK;

    void btnOKClick();
};
