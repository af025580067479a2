#pragma once
// TfrmDataDct: the data dictionary. Items grouped by category (the one category offered
// is "封边"); "选择类别" hands back the chosen item's name in lbMc.

#include <QDialog>

class QAction;
class QTableWidget;
class QToolBar;
class QTreeWidget;

class TfrmDataDct : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmDataDct(QWidget* parent = nullptr);

    QString lbMc;

    QTreeWidget* trvCate;
    QToolBar* ToolBar1;
    QAction* tlAdd;
    QAction* tlEdit;
    QAction* tlDel;
    QAction* tlSel;
    QTableWidget* sgItem;

    void trvCateChange();  // reads the items of the selected category
    void tlAddClick();
    void tlEditClick();
    void tlDelClick();
    void tlSelClick();

    // The selected category's text, empty when no category node is selected.
    QString SelectedCategory() const;
};
