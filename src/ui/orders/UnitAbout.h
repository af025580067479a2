#pragma once
// TfrmAbout: the about box, one picture naming the product.

#include <QDialog>

class QLabel;

class TfrmAbout : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmAbout(QWidget* parent = nullptr);
    QLabel* Image1;
};
