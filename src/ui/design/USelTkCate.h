#pragma once
// TfrmSelTkCate: "选择图库类别", where a cabinet is given a library category and a name
// before it is stored. The opener writes the proposed name into txtName; after the
// window closes tkID holds the chosen category ID ("0" for the root) or is empty when
// the user left without confirming, and txtName the name to store under.

#include <QDialog>

class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;

class TfrmSelTkCate : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmSelTkCate(QWidget* parent = nullptr);

    QString tkID;

    QTabWidget* PageControl1;
    QTreeWidget* tree;
    QLineEdit* txtName;
    QPushButton* Button1;

    void LoadTree();  // when shown
    void Button1Click();

  protected:
    void showEvent(QShowEvent* event) override;
};
