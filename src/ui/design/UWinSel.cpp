#include "ui/design/UWinSel.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QToolBar>
#include <QVBoxLayout>
#include <exception>

#include "cabinet/UCabinetCopy.h"
#include "cabinet/UCabs.h"
#include "common/NumberFormat.h"
#include "data/UnitData.h"
#include "documents/UXmlOpen.h"
#include "documents/UXmlSave.h"
#include "render/QPainterCanvas.h"
#include "ui/UiChecks.h"
#include "ui/UiPlatform.h"
#include "ui/design/UCustFengB.h"
#include "ui/design/UWinKu.h"

TfrmWinSel::TfrmWinSel(QWidget* parent) : QDialog(parent) {
    setObjectName("frmWinSel");
    setWindowTitle(QStringLiteral("柜体设计"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tlSelWinKu = ToolBar1->addAction(QStringLiteral("选择柜体"));
    tlSelWinKu->setObjectName("tlSelWinKu");
    tlSave = ToolBar1->addAction(QStringLiteral("保存"));
    tlSave->setObjectName("tlSave");

    Image1 = new QLabel;
    Image1->setObjectName("Image1");
    Image1->setFixedSize(kPictureSize, kPictureSize);
    p_picture = kelm::NewBitmap(kPictureSize, kPictureSize);
    Image1->setPixmap(QPixmap::fromImage(p_picture));
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName("ScrollBox1");
    ScrollBox1->setStyleSheet(QStringLiteral("QScrollArea { background: white; }"));
    ScrollBox1->setWidget(Image1);
    ScrollBox1->setFixedSize(kPictureSize + 6, kPictureSize + 6);

    auto field = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        return edit;
    };
    txtCode = field("txtCode");
    txtC = field("txtC");
    txtC->setText(QStringLiteral("1"));
    txtW = field("txtW");
    txtH = field("txtH");
    txtD = field("txtD");
    txtCustName = field("txtCustName");
    txtCustName->setReadOnly(true);
    txtCustID = field("txtCustID");
    txtCustID->hide();
    btnCustSel = new QPushButton(QStringLiteral("..."), this);
    btnCustSel->setObjectName("btnCustSel");
    btnCustSel->setFixedWidth(30);
    cbFB = new QComboBox(this);
    cbFB->setObjectName("cbFB");
    cbFB->setEditable(true);
    btnDCt = new QPushButton(QStringLiteral("+"), this);
    btnDCt->setObjectName("btnDCt");
    btnDCt->setFixedWidth(30);

    auto* fields = new QGridLayout;
    int row = 0;
    auto addRow = [&](const QString& caption, QWidget* edit, QWidget* button = nullptr) {
        fields->addWidget(new QLabel(caption, this), row, 0);
        fields->addWidget(edit, row, 1);
        if (button) fields->addWidget(button, row, 2);
        ++row;
    };
    addRow(QStringLiteral("代码："), txtCode);
    addRow(QStringLiteral("数量："), txtC);
    addRow(QStringLiteral("宽(W)："), txtW);
    addRow(QStringLiteral("高(H)："), txtH);
    addRow(QStringLiteral("深(D)："), txtD);
    addRow(QStringLiteral("客户："), txtCustName, btnCustSel);
    addRow(QStringLiteral("封边："), cbFB, btnDCt);
    fields->setRowStretch(row, 1);

    auto* body = new QHBoxLayout;
    body->addWidget(ScrollBox1, 0, Qt::AlignTop);
    body->addLayout(fields, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 8, 8);
    layout->addWidget(ToolBar1);
    layout->addLayout(body, 1);
    resize(540, 320);

    IsOk = false;
    LoadFengBList(cbFB);

    connect(tlSelWinKu, &QAction::triggered, this, [this] { tlSelWinKuClick(); });
    connect(tlSave, &QAction::triggered, this, [this] { tlSaveClick(); });
    connect(btnCustSel, &QPushButton::clicked, this, [this] { btnCustSelClick(); });
    connect(btnDCt, &QPushButton::clicked, this, [this] { btnDCtClick(); });
    for (QLineEdit* size : {txtW, txtH, txtD})
        connect(size, &QLineEdit::textChanged, this, [this] { SizeChange(); });
}

TfrmWinSel::~TfrmWinSel() = default;

void TfrmWinSel::tlSelWinKuClick() {
    TfrmWinKu browser(this);
    ShowModal(browser);
    if (browser.WinXml.isEmpty()) return;
    if (UseLibraryDocument(browser.WinXml)) tkID = browser.tkID;
}

bool TfrmWinSel::UseLibraryDocument(const QString& winXml) {
    std::unique_ptr<FCabs> cabs;
    try {
        cabs = FXmlOpen::OpenXml(winXml);
    } catch (const std::exception&) {
        cabs.reset();
    }
    if (!cabs || cabs->CBS().empty() || !cabs->CBS().front()) {
        // A damaged entry or one without a cabinet leaves the current choice as it was.
        ShowInfo(QStringLiteral("所选柜体无法读取！"));
        return false;
    }
    cabinet = std::make_unique<FCabinet>(*cabs->CBS().front());
    tmpCb.reset();
    txtCode->setText(cabinet->Name());
    // The fields are filled one after another; the resize rule runs once all three
    // hold the new sizes (also when a text happens to stay the same).
    p_loading = true;
    txtW->setText(kelm::FormatPattern(cabinet->W(), QStringLiteral("0")));
    txtH->setText(kelm::FormatPattern(cabinet->H(), QStringLiteral("0")));
    txtD->setText(kelm::FormatPattern(cabinet->D(), QStringLiteral("0")));
    p_loading = false;
    DrawPicture(*cabinet);
    SizeChange();
    return true;
}

void TfrmWinSel::SizeChange() {
    if (!cabinet || p_loading) return;
    for (QLineEdit* field : {txtW, txtD, txtH}) {
        // An empty field is refilled with "0"; that change runs this rule again with
        // the refilled text, which resizes.
        if (field->text().trimmed().isEmpty()) {
            field->setText(QStringLiteral("0"));
            return;
        }
        // A field that is not a number is emptied with a message; emptying it is not a
        // size to resize to, so the last resized cabinet stays.
        p_loading = true;
        const bool isNumber = CheckNumberField(field);
        p_loading = false;
        if (!isNumber) return;
    }
    double w = 0, d = 0, h = 0;
    kelm::ParseNumber(txtW->text().trimmed(), w);
    kelm::ParseNumber(txtD->text().trimmed(), d);
    kelm::ParseNumber(txtH->text().trimmed(), h);
    std::unique_ptr<FCabinet> resized;
    try {
        resized = FCabinetCopy::CopyCb(w, d, h, *cabinet);
    } catch (const std::exception&) {
        return;  // a size the cabinet cannot be rebuilt at keeps the last resized copy
    }
    if (!resized) return;
    tmpCb = std::move(resized);
    DrawPicture(*tmpCb);
}

void TfrmWinSel::DrawPicture(const FCabinet& cab) {
    dv = (cab.W() >= cab.H() ? cab.W() : cab.H()) / 200.0;
    p_picture = kelm::NewBitmap(kPictureSize, kPictureSize);
    if (dv > 0) {  // a cabinet without width and height has nothing to show
        kelm::QPainterCanvas canvas(&p_picture);
        cab.Draw(canvas, dv, 80, 10, ps, true, true, kelm::Color(248, 240, 227));
    }
    Image1->setPixmap(QPixmap::fromImage(p_picture));
}

void TfrmWinSel::tlSaveClick() {
    if (!cabinet || cabinet->BCS().empty() || !tmpCb) {
        ShowInfo(QStringLiteral("请设计柜体后，再保存！"));
        return;
    }
    if (txtCustID->text().trimmed().isEmpty()) {
        ShowInfo(QStringLiteral("请选择客户！"));
        btnCustSel->setFocus();
        return;
    }
    // The quantity is copied into every panel row: it must be a whole number of cabinets.
    if (!CheckNumberField(txtC, kPieceCount)) return;
    FCabs cabs(tmpCb->W(), tmpCb->D(), tmpCb->H());
    // The cabinet is named after the position it is saved as, so the panel list never
    // shows the library cabinet's own name for the parts of two different positions.
    auto placed = std::make_unique<FCabinet>(*tmpCb);
    if (!txtCode->text().trimmed().isEmpty()) placed->SetName(txtCode->text().trimmed());
    cabs.AddCabinet(0, std::move(placed));
    const bool saved =
        FXmlSave::SaveToDB(proID, txtCode->text().trimmed(), txtC->text().trimmed(),
                           txtCustID->text(), txtCustName->text(), cbFB->currentText(), cabs, 0);
    if (!saved) {
        ShowInfo(QStringLiteral("保存失败！"));
        return;
    }
    ShowInfo(QStringLiteral("保存成功！"));
    IsOk = true;
    accept();
}

void TfrmWinSel::btnCustSelClick() { PickCustomer(this, txtCustName, txtCustID); }

void TfrmWinSel::btnDCtClick() { EditFengBDictionary(this, cbFB); }
