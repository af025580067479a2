#include "ui/optimize/UnitCulcControler.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "common/NumberFormat.h"

QEvent::Type TD2RMessage::EventType() {
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

bool SendD2RMessage(QObject* receiver, int msg, int wParam, const QString& text) {
    if (!receiver) return false;
    TD2RMessage message(msg, wParam, text);
    QCoreApplication::sendEvent(receiver, &message);
    return true;
}

void TD2RMessageForwarder::OnStep(int k) { Deliver(WM_D2R_STEP, k, QString(), false); }

void TD2RMessageForwarder::OnGeneration(const QString& text) {
    Deliver(WM_D2R_GEN, 0, text, false);
}

void TD2RMessageForwarder::OnDone(const TD2RSchame&) { Deliver(WM_D2R_DONE, 0, QString(), true); }

void TD2RMessageForwarder::OnDeepProgress(int32_t sheets, int32_t bound, double) {
    Deliver(WM_D2R_DEEP, sheets,
            QStringLiteral("当前最优：") + kelm::FormatInt(sheets) + QStringLiteral("张    下界：") +
                kelm::FormatInt(bound) + QStringLiteral("张"),
            false);
}

void TD2RMessageForwarder::Deliver(int msg, int wParam, const QString& text, bool toDialog) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    // The application object lives on the user-interface thread, so the call runs
    // there; the receivers are looked up only there, where they are freed.
    QMetaObject::invokeMethod(
        app,
        [this, msg, wParam, text, toDialog] {
            if (toDialog) SendD2RMessage(Hd1, msg, wParam, text);
            SendD2RMessage(Hd, msg, wParam, text);
        },
        Qt::BlockingQueuedConnection);
}

namespace {
QLabel* NewLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QLabel* NewImage(QWidget* parent, const char* name, QStyle::StandardPixmap icon) {
    auto* image = new QLabel(parent);
    image->setObjectName(name);
    image->setPixmap(parent->style()->standardIcon(icon).pixmap(24, 24));
    return image;
}
}  // namespace

TfrmCulcControler::TfrmCulcControler(QWidget* parent) : QDialog(parent) {
    setObjectName("frmCulcControler");
    setWindowTitle(QStringLiteral("计算控制器"));
    // A tool window with a title and no system buttons.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    Label1 = NewLabel(this, "Label1", QStringLiteral("搜索计算    "));
    ProgressBar2 = new QProgressBar(this);
    ProgressBar2->setObjectName("ProgressBar2");
    ProgressBar2->setRange(0, 30);
    ProgressBar2->setValue(0);
    ProgressBar2->setTextVisible(false);
    Label6 = NewLabel(this, "Label6", QStringLiteral("总进度："));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    Label7 = NewLabel(this, "Label7", QStringLiteral("时间："));
    Label4 = NewLabel(this, "Label4", QStringLiteral("0.00"));
    Label8 = NewLabel(this, "Label8", QStringLiteral("出材率："));
    Label5 = NewLabel(this, "Label5", QStringLiteral("00.00%"));
    Label5->setStyleSheet(QStringLiteral("color: red;"));
    lblDeep = NewLabel(this, "lblDeep", QString());
    lblDeep->setStyleSheet(QStringLiteral("color: red;"));
    lblDeep->hide();
    Image2 = NewImage(this, "Image2", QStyle::SP_DialogApplyButton);
    Label2 = NewLabel(this, "Label2", QStringLiteral("接受方案，继续 "));
    imgCancel = NewImage(this, "imgCancel", QStyle::SP_DialogCancelButton);
    Label3 = NewLabel(this, "Label3", QStringLiteral("取消本次计算"));
    for (QLabel* clickable : {Image2, Label2, imgCancel, Label3}) {
        clickable->setCursor(Qt::PointingHandCursor);
        clickable->installEventFilter(this);
    }

    auto* grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(ProgressBar2, 0, 1);
    grid->addWidget(Label6, 1, 0);
    grid->addWidget(ProgressBar1, 1, 1);
    auto* figures = new QHBoxLayout;
    figures->addWidget(Label7);
    figures->addWidget(Label4);
    figures->addSpacing(30);
    figures->addWidget(Label8);
    figures->addWidget(Label5);
    figures->addStretch(1);
    auto* commands = new QHBoxLayout;
    commands->addStretch(1);
    commands->addWidget(Image2);
    commands->addWidget(Label2);
    commands->addSpacing(20);
    commands->addWidget(imgCancel);
    commands->addWidget(Label3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(figures);
    layout->addWidget(lblDeep);
    layout->addLayout(commands);
    setFixedWidth(420);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    Timer1->start();
}

void TfrmCulcControler::Timer1Timer() {
    ++tm;
    Label4->setText(kelm::FormatInt(tm / 60) + ":" + kelm::FormatInt(tm % 60));
}

void TfrmCulcControler::Image2Click() { Accept(); }
void TfrmCulcControler::Label2Click() { Accept(); }
void TfrmCulcControler::imgCancelClick() { Cancel(); }
void TfrmCulcControler::Label3Click() { Cancel(); }

void TfrmCulcControler::Accept() {
    // The window stays until the run hands over its result.
    SendD2RMessage(hd, WM_D2R_ACCEPT);
}

void TfrmCulcControler::Cancel() {
    SendD2RMessage(hd, WM_D2R_CANCEL);
    CloseWindow();
}

void TfrmCulcControler::ReciveMsg() {}

void TfrmCulcControler::ReciveProcess(const QString& text) {
    ProgressBar1->setValue(std::min(ProgressBar1->value() + 1, ProgressBar1->maximum()));
    Label5->setText(text);
}

void TfrmCulcControler::ReciveProcess2(int k) { ProgressBar2->setValue(k); }

void TfrmCulcControler::ReciveDeep(const QString& text) {
    lblDeep->setText(text);
    lblDeep->show();
}

void TfrmCulcControler::CloseWindow() {
    Timer1->stop();
    QDialog::done(QDialog::Accepted);
}

void TfrmCulcControler::reject() {}

bool TfrmCulcControler::event(QEvent* e) {
    if (e->type() == TD2RMessage::EventType()) {
        const auto* message = static_cast<TD2RMessage*>(e);
        switch (message->Msg) {
            case WM_D2R_DONE:
                ReciveMsg();
                break;
            case WM_D2R_GEN:
                ReciveProcess(message->Text);
                break;
            case WM_D2R_STEP:
                ReciveProcess2(message->WParam);
                break;
            case WM_D2R_DEEP:
                ReciveDeep(message->Text);
                break;
            default:
                break;
        }
        return true;
    }
    return QDialog::event(e);
}

bool TfrmCulcControler::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        if (watched == Image2)
            Image2Click();
        else if (watched == Label2)
            Label2Click();
        else if (watched == imgCancel)
            imgCancelClick();
        else if (watched == Label3)
            Label3Click();
        else
            return QDialog::eventFilter(watched, e);
        return true;
    }
    return QDialog::eventFilter(watched, e);
}

void TfrmCulcControler::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    // Centred on the desktop rather than on the dialog.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}
