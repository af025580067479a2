#pragma once
// The fields and buttons shared by the customer add and edit dialogs.

#include <QDialog>

class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TCustFormBase : public QDialog {
    Q_OBJECT
  public:
    explicit TCustFormBase(QWidget* parent = nullptr);

    bool IsOk = false;

    QLineEdit* txtCustName;
    QLineEdit* txtPhone;
    QLineEdit* txtAddr;
    QDateEdit* dtPurDate;
    QPlainTextEdit* txtBZ;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    virtual void btnOKClick() = 0;
    void btnCancelClick();

  protected:
    // Stores with the given statement (its :custName, :phone, :address, :pursDate, :bz
    // bound from the fields); on success sets IsOk and closes, silently.
    void StoreCustomer(const QString& sql);
};
