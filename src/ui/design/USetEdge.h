#pragma once
// The two six-field sub-dialogs of the board dialogs: the spacing dialog TfrmSetEdge
// (offsets of a board from its region's sides) and the edge banding dialog TfrmFBSet
// (banding thickness per edge). Both check all six fields on 确定 and hand the numbers
// back in their record with IsOk. A caller hides a field with HideField.

#include <QDialog>

#include "cabinet/UDataType.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TSixFieldDialog : public QDialog {
    Q_OBJECT
  public:
    TSixFieldDialog(const QString& caption, const QString& group, QWidget* parent);

    bool IsOk = false;
    QLineEdit* txtL;
    QLineEdit* txtR;
    QLineEdit* txtQ;
    QLineEdit* txtH;
    QLineEdit* txtT;
    QLineEdit* txtB;
    QPushButton* btnOK;

    // Hides a field together with its label.
    void HideField(QLineEdit* field);
    // Writes six values into the fields as plain decimal text.
    void SetValues(double l, double r, double t, double b, double q, double h);
    void btnOKClick();

  protected:
    // Receives the six checked numbers.
    virtual void Store(double l, double r, double t, double b, double q, double h) = 0;

  private:
    QLabel* LabelOf(QLineEdit* field) const;
};

class TfrmSetEdge : public TSixFieldDialog {
    Q_OBJECT
  public:
    explicit TfrmSetEdge(QWidget* parent = nullptr);
    FEdge Edge;

  protected:
    void Store(double l, double r, double t, double b, double q, double h) override;
};

class TfrmFBSet : public TSixFieldDialog {
    Q_OBJECT
  public:
    explicit TfrmFBSet(QWidget* parent = nullptr);
    FFengB FB;

  protected:
    void Store(double l, double r, double t, double b, double q, double h) override;
};
