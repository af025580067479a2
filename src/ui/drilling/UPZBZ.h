#pragma once
// TfrmPZBZ: the drilling rules (table FPKBZ): which hole positions the panel list
// uses for which panel sizes. Adds, edits and deletes rules; the list is shown in the
// order the panel-list generator reads it, so the first of two overlapping rules is
// the one that applies.

#include <QDialog>

class QAction;
class QTableWidget;
class QToolBar;

class TfrmPZBZ : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmPZBZ(QWidget* parent = nullptr);

    QToolBar* ToolBar1;
    QAction* tlAdd;
    QAction* tlEdit;
    QAction* tlDel;
    QTableWidget* sgPZBZ;

    void LoadRules();  // when shown and after every change
    void tlAddClick();
    void tlEditClick();
    void tlDelClick();

  protected:
    void showEvent(QShowEvent* event) override;
};
