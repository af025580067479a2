#pragma once
// TfrmClSel: the material chooser of the board, door and drawer dialogs. Two drop-down
// lists, category and material, each with a hidden twin list of IDs at the same
// positions. isOk tells whether the user confirmed a material in this showing.
//
// TClSelHolder keeps one chooser for all dialogs opened from the same designer, so the
// chooser remembers its last category and material; the first dialog that needs it
// creates it.

#include <QDialog>
#include <QPointer>
#include <memory>

class QComboBox;
class QPushButton;

class TfrmClSel : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmClSel(QWidget* parent = nullptr);

    bool isOk = false;
    QComboBox* cbClsName;
    QComboBox* cbClsID;  // hidden
    QComboBox* cbClName;
    QComboBox* cbClID;  // hidden
    QPushButton* btnOK;

    void cbClsNameChange();
    void cbClNameChange();
    void btnOKClick();
    // Shows the chooser modally; true when the user confirmed a material this time.
    bool Execute();
    // The chosen material's ID and its shown text ("code/name").
    QString SelectedID() const;
    QString SelectedText() const;
};

class TClSelHolder {
  public:
    TClSelHolder() = default;
    TClSelHolder(const TClSelHolder&) = delete;
    TClSelHolder& operator=(const TClSelHolder&) = delete;
    ~TClSelHolder();
    // The chooser, created on first use; the holder owns it.
    TfrmClSel& Get();
    TfrmClSel* Existing() const { return p_form; }
    // The window the chooser is centred on (and freed with); none when not set.
    QWidget* Owner = nullptr;

  private:
    QPointer<TfrmClSel> p_form;
};

// The chooser a dialog uses: the shared holder when one is set, else the dialog's own,
// made on first use.
TfrmClSel& ChooserOf(TClSelHolder* shared, std::unique_ptr<TClSelHolder>& own);
