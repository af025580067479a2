#pragma once
// TfrmKWEdit: one hole of a hole pattern: its X and Y position (mm), a description and
// the direction of its edge bore. On "确定" with both positions numbers, flag holds the
// hole code ("M" no edge bore, "L", "R", "T", "B") and IsOk is set; the caller reads the
// position and description from the fields, or the finished element from HoleElement.

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

class TfrmKWEdit : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmKWEdit(QWidget* parent = nullptr);

    bool IsOk = false;
    QString flag;

    QLineEdit* txtX;
    QLineEdit* txtY;
    QLineEdit* txtDesc;
    QComboBox* cbFX;
    QPushButton* btnOK;

    void btnOKClick();

    // The hole as an element of a hole-pattern document's <kw> list, positions in the
    // general number form and the description escaped:
    // <k x="X" y="Y"  f="C" desc="D" />. Meaningful once IsOk is set.
    QString HoleElement() const;
};
