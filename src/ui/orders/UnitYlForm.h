#pragma once
// The material form shared by the add and edit dialogs of raw materials: a category
// list kept in step with a hidden list of the matching keys, the material fields and
// the buttons "确定(&O)" and "关闭(&C)".

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TYlFormBase : public QDialog {
    Q_OBJECT
  public:
    explicit TYlFormBase(QWidget* parent = nullptr);

    QComboBox* cbCateName;  // editable: names of FClCls
    QComboBox* cbCateID;    // hidden: the keys in the same order
    QLineEdit* txtYlCode;
    QLineEdit* txtYlName;
    QLineEdit* txtLength;
    QLineEdit* txtWidth;
    QLineEdit* txtHoudu;
    QLineEdit* txtColor;
    QPlainTextEdit* txtBz;
    QPushButton* btnOK;
    QPushButton* btnClose;

    virtual void btnOKClick() = 0;
    void btnCloseClick();

    // Shows the category name and selects its key; a key that is not listed leaves no
    // key selected.
    void SetCategory(const QString& cateName, const QString& cateID);
    // The key of the chosen category, empty when the name matches no category.
    QString SelectedCateID() const;

  protected:
    // The checks of both dialogs: a category, a length and a width, a numeric length.
    // True when the fields may be stored.
    bool CheckFields();
    // Binds the field values of the INSERT or UPDATE prepared by the caller.
    void SetFieldParams();

  private:
    void LoadCategories();
    void CateNameChanged(const QString& text);
};
