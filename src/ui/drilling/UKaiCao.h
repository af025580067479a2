#pragma once
// TfrmKaiCao: one groove of a hole pattern: the side it runs along, its distance from
// that side, its distances from both ends, width and depth. On "确定" with every field a
// number, cao holds the groove and isOk is set.

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// One groove, lengths in mm.
struct FCao {
    QString PS;      // side it runs along: "T" top, "B" bottom, "L" left, "R" right
    double DJ1 = 0;  // start from the left end ("T", "B") or the top end ("L", "R")
    double DJ2 = 0;  // end from the right end, or the bottom end
    double BJ = 0;   // distance from its side
    double W = 0;    // width
    double D = 0;    // depth
    bool operator==(const FCao&) const = default;
};

class TfrmKaiCao : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmKaiCao(QWidget* parent = nullptr);

    bool isOk = false;
    FCao cao;

    QComboBox* cbPS;
    QLineEdit* txtBJ;
    QLabel* lblDJ1;
    QLineEdit* txtDJ1;
    QLabel* lblDJ2;
    QLineEdit* txtDJ2;
    QLineEdit* txtW;
    QLineEdit* txtD;
    QPushButton* btnOK;

    void cbPSChange();  // relabels the end distances for the chosen side
    void btnOKClick();
};
