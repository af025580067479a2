#pragma once
// TfrmCateAdd: adds a material category; isOk tells the caller it was stored.

#include <QDialog>

class QLineEdit;
class QPushButton;

class TfrmCateAdd : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmCateAdd(QWidget* parent = nullptr);

    bool isOk = false;
    QLineEdit* txtCateName;
    QPushButton* btnOK;

    void btnOKClick();
};
