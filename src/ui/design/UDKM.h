#pragma once
// TfrmDkM: adds a door leaf. Collects the leaf's material and name, its spacings to the
// region edges, how many leaves share the region width (fm) and the side (lOrR).

#include <QDialog>
#include <memory>

#include "cabinet/UDataType.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TClSelHolder;

class TfrmDkM : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmDkM(QWidget* parent = nullptr);
    ~TfrmDkM() override;

    bool IsOk = false;
    FCl Cl;
    FEdge Edge;
    int fm = 2;
    QString lOrR;
    TClSelHolder* ClSelHolder = nullptr;  // the shared chooser; own one when unset

    QLineEdit* txtRegW;
    QLineEdit* txtRegD;
    QLineEdit* txtRegH;
    QLineEdit* txtRegZ;
    QLineEdit* txtClName;
    QPushButton* btnSel;
    QLineEdit* txtName;
    QLineEdit* txtL;
    QLineEdit* txtR;
    QLineEdit* txtT;
    QLineEdit* txtB;
    QLineEdit* txtQ;
    QComboBox* cbBFb;
    QRadioButton* optLeft;
    QRadioButton* RadioButton1;
    QPushButton* btnOK;

    void btnSelClick();
    void optLeftClick();
    void RadioButton1Click();
    void btnOKClick();

  private:
    std::unique_ptr<TClSelHolder> p_ownClSel;
};
