#pragma once
// The fields and buttons shared by the order creation and order edit dialogs: batch
// code, batch name, start and completion dates, remark, "确定" and "关闭".

#include <QDialog>

class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TProFormBase : public QDialog {
    Q_OBJECT
  public:
    explicit TProFormBase(QWidget* parent = nullptr);

    QLineEdit* txtProCode;
    QLineEdit* txtProName;
    QDateEdit* dt1;
    QDateEdit* dt2;
    QPlainTextEdit* txtBZ;
    QPushButton* btnOK;
    QPushButton* btnClose;

    virtual void btnOKClick() = 0;
    void btnCloseClick();

  protected:
    // Both required fields present (showing the first missing one's message otherwise).
    bool RequiredFieldsGiven();
    // Binds :proCode, :proName, :begDt, :endDt and :bz of the shared command.
    void BindOrderFields();
};
