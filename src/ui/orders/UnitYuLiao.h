#pragma once
// TfrmYuLiao ("余料库存"): the offcuts kept from confirmed cuts, per material, with their
// sizes, where they came from and when; filtered by material, size and keyword, sorted by
// any column; an offcut's size and remark can be changed, a damaged one scrapped, and
// labels printed (PDF, barcode = the offcut's identifier). TfrmYuLiaoEdit edits one offcut.

#include <QDialog>
#include <vector>

#include "documents/UOffcutStore.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

class TfrmYuLiaoEdit : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmYuLiaoEdit(const TOffcutRow& offcut, QWidget* parent = nullptr);

    TOffcutRow offcut;
    bool IsOk = false;

    QLabel* lblCode;
    QLineEdit* txtLength;
    QLineEdit* txtWidth;
    QLineEdit* txtBz;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    void btnOKClick();
};

class TfrmYuLiao : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmYuLiao(QWidget* parent = nullptr);

    std::vector<TOffcutRow> rows;  // what the list shows, in reading order

    QComboBox* cbMaterial;  // "全部材料", then each material (ylID in the item's data)
    QLineEdit* txtMinL;     // at least this long (either way round)
    QLineEdit* txtMinW;     // at least this wide
    QLineEdit* txtKey;      // part of the identifier, order or remark
    QCheckBox* chkAll;      // also the offcuts used or scrapped
    QPushButton* btnFind;
    QTreeWidget* lstYuLiao;
    QLabel* lblTotal;
    QComboBox* cbLabelSize;
    QComboBox* cbBarcode;
    QPushButton* btnEdit;
    QPushButton* btnDelete;
    QPushButton* btnLabels;
    QPushButton* btnClose;

    enum {
        colCode = 0,
        colMaterial,
        colThick,
        colLength,
        colWidth,
        colArea,
        colOrder,
        colLayout,
        colDate,
        colState,
        colBz
    };

    void LoadMaterials();
    void LoadOffcuts();  // applies the filters
    void btnEditClick();
    void btnDeleteClick();
    // Labels of the selected offcuts in stock, or of every one listed in stock when none
    // is selected.
    void btnLabelsClick();

    // The offcuts the labels are printed for (see btnLabelsClick).
    std::vector<TOffcutRow> LabelRows() const;
    // The row of the current list item, nullptr when none.
    const TOffcutRow* CurrentRow() const;
};
