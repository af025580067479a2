#pragma once
// TfrmChouTi: adds a drawer. Collects the drawer's name, material A (front and box
// boards) and B (box bottom) and the whole-number parameters W, H, D, E, F and M shown
// in the picture at the top of the dialog.

#include <QDialog>
#include <memory>

#include "cabinet/UDataType.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class TClSelHolder;

class TfrmChouTi : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmChouTi(QWidget* parent = nullptr);
    ~TfrmChouTi() override;

    bool IsOK = false;
    int W = 0, H = 0, D = 0, E = 0, F = 0, M = 0;
    FCl ACl;
    FCl BCl;
    QString gjName;
    TClSelHolder* ClSelHolder = nullptr;  // the shared chooser; own one when unset

    QLineEdit* txtRegW;
    QLineEdit* txtRegD;
    QLineEdit* txtRegH;
    QLineEdit* txtRegZ;
    QLineEdit* txtName;
    QLineEdit* txtAName;
    QPushButton* btnSel;
    QLineEdit* txtBName;
    QPushButton* Button1;
    QLineEdit* txtWVal;
    QComboBox* cbHVal;
    QLineEdit* txtFval;
    QLineEdit* txtEval;
    QLineEdit* txtDVal;
    QLineEdit* txtMval;
    QPushButton* btnOK;

    void btnSelClick();
    void Button1Click();
    void btnOKClick();

  private:
    std::unique_ptr<TClSelHolder> p_ownClSel;
};
