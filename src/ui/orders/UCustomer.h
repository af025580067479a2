#pragma once
// TfrmCustomer: the customer list. Adds, edits and deletes customers; "选择客户" hands
// back custID and custName of the current row (both empty unless one was chosen).

#include <QDialog>

class QAction;
class QTableWidget;
class QToolBar;

class TfrmCustomer : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmCustomer(QWidget* parent = nullptr);

    QString custID;
    QString custName;

    QToolBar* ToolBar1;
    QAction* tlAdd;
    QAction* tlEdit;
    QAction* tlDel;
    QAction* tlSel;
    QTableWidget* sgCustomer;

    void LoadCustomers();  // when shown and after every change
    void tlAddClick();
    void tlEditClick();
    void tlDelClick();
    void tlSelClick();

  protected:
    void showEvent(QShowEvent* event) override;
};
