#pragma once
// The common form of the library's small category dialogs: "名称：" txtMC, the default
// button btnOK "确定(&O)" and btnClose "关闭(&C)", which only closes.

#include <QDialog>

class QLineEdit;
class QPushButton;

class TfrmBkCateForm : public QDialog {
    Q_OBJECT
  public:
    TfrmBkCateForm(QWidget* parent, const char* objectName, const QString& caption);

    QLineEdit* txtMC;
    QPushButton* btnOK;
    QPushButton* btnClose;

    virtual void btnOKClick() = 0;

  protected:
    // Stores txtMC as a new category under parent with the insert statement sql, whose
    // name parameter is nameParam, and tells the user it was added. Says missing and
    // stores nothing when the name is empty. Returns the stored name, or an empty text
    // when nothing was stored.
    QString InsertCategory(const QString& sql, const QString& nameParam, const QString& parent,
                           const QString& missing);
};
