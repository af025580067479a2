#pragma once
// TfrmWinSel: "柜体设计" from the library. The user picks a library cabinet, changes its
// outer width, height and depth (the whole cabinet is rebuilt at the new size) and
// saves it as a new position of the open order proID with code, quantity, customer and
// edge banding. IsOk tells the opener that a position was saved.

#include <QDialog>
#include <QPoint>
#include <memory>

#include "cabinet/UCabinet.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QToolBar;

class TfrmWinSel : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmWinSel(QWidget* parent = nullptr);
    ~TfrmWinSel() override;

    static constexpr int kPictureSize = 260;

    std::unique_ptr<FCabinet> cabinet;  // as read from the library; source of every resize
    std::unique_ptr<FCabinet> tmpCb;    // the resized copy that is shown and saved
    QString tkID;
    double dv = 0;
    QPoint ps{30, 30};
    bool IsOk = false;
    QString proID;

    QToolBar* ToolBar1;
    QAction* tlSelWinKu;
    QAction* tlSave;
    QScrollArea* ScrollBox1;
    QLabel* Image1;
    QLineEdit* txtCode;
    QLineEdit* txtC;
    QLineEdit* txtW;
    QLineEdit* txtH;
    QLineEdit* txtD;
    QLineEdit* txtCustName;
    QPushButton* btnCustSel;
    QLineEdit* txtCustID;  // hidden
    QComboBox* cbFB;
    QPushButton* btnDCt;

    void tlSelWinKuClick();
    // Takes a stored library document as the chosen cabinet; false (and a message)
    // when the document cannot be read or holds no cabinet.
    bool UseLibraryDocument(const QString& winXml);
    void SizeChange();  // the resize rule
    void tlSaveClick();
    void btnCustSelClick();
    void btnDCtClick();
    void DrawPicture(const FCabinet& cab);
    QImage Picture() const { return p_picture; }

  private:
    QImage p_picture;
    bool p_loading = false;  // the size fields are being filled from the library cabinet
};
