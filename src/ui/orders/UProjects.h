#pragma once
// TfrmProjects: the order list. Lists, searches, adds, edits, deletes and opens
// orders; hands back proID and proName of the order the user opened (both empty
// otherwise).

#include <QDialog>

class QLineEdit;
class QStatusBar;
class QLabel;
class QTableWidget;
class QToolBar;
class QAction;

class TfrmProjects : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmProjects(QWidget* parent = nullptr);

    QString proID;
    QString proName;

    QToolBar* ToolBar1;
    QLineEdit* txtKey;
    QAction* tlAdd;
    QAction* tlEdit;
    QAction* tlDel;
    QAction* tlOpen;
    QTableWidget* sgProject;
    QStatusBar* StatusBar1;
    QLabel* lbCount;

    void FormShow();      // every order, newest start date first
    void txtKeyChange();  // orders whose name or customer contains the keyword
    void tlAddClick();
    void tlEditClick();
    void tlDelClick();
    void tlOpenClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void ShowCount(int count);
};
