#pragma once
// The fields shared by the dialogs that add and edit a drilling rule: minimum and
// maximum panel size, the hole positions, the hint on how to separate them and "确定".
// The checks refuse a rule the panel-list generator could not use, so a saved rule
// never stops a later save of an order position.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TPZBZFormBase : public QDialog {
    Q_OBJECT
  public:
    explicit TPZBZFormBase(QWidget* parent = nullptr);

    bool IsOk = false;  // a row was written

    QLineEdit* txtMin;
    QLineEdit* txtMax;
    QLineEdit* txtKW;
    QLabel* lblHint;
    QPushButton* btnOK;

    virtual void btnOKClick() = 0;

  protected:
    // Checks the three fields in order, showing the first fault's message and focusing
    // its field. True when the rule may be written.
    bool InputValid();
    // Binds :minVal, :maxVal and :kwstr of the shared command (texts trimmed).
    void BindRuleFields();
};

// True when the text is a list the generator reads: entries separated by ASCII commas,
// each one a number (blanks around an entry allowed). An empty entry ("32,,64", a
// trailing comma) or a full-width comma is refused.
bool HolePositionsValid(const QString& text);
