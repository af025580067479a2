#pragma once
// The one-field form shared by the dictionary item add and edit dialogs.

#include <QDialog>

class QLineEdit;
class QPushButton;

class TItmFormBase : public QDialog {
    Q_OBJECT
  public:
    explicit TItmFormBase(QWidget* parent = nullptr);

    bool IsOk = false;
    QLineEdit* txtName;
    QPushButton* btnOK;

    virtual void btnOKClick() = 0;
};
