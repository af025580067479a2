#pragma once
// TfrmCulcControler: the progress window ("计算控制器") shown modally while one optimizer
// run searches. It counts the constructions of the current generation and the
// generations done, shows the elapsed time and the best utilisation so far, and lets
// the user accept the best result so far or cancel the run.
//
// The optimizer, this window and the optimization dialog talk through window messages
// (TD2RMessage) with the fixed numbers WM_D2R_*: sent synchronously to a receiver,
// which handles them in its event() before the sender goes on.

#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QString>
#include <cstdint>

#include "optimizer/UnitD2Rect.h"

class QLabel;
class QProgressBar;
class QTimer;

// Requests of the progress window to the dialog that runs the optimizer.
constexpr int WM_D2R_ACCEPT = 1353;  // keep the best result so far and finish the run
constexpr int WM_D2R_CANCEL = 1363;  // stop the run and the rest of the batch
// The deep search's progress: wParam the best sheet count, the text what the window shows.
constexpr int WM_D2R_DEEP = 1145;

// One window message: its number, an integer argument and a text argument.
class TD2RMessage : public QEvent {
  public:
    TD2RMessage(int msg, int wParam, const QString& text)
        : QEvent(EventType()), Msg(msg), WParam(wParam), Text(text) {}
    static QEvent::Type EventType();
    int Msg;
    int WParam;
    QString Text;
};

// Sends a message synchronously: returns after the receiver has handled it. Returns
// false when there is no receiver (it was closed and freed).
bool SendD2RMessage(QObject* receiver, int msg, int wParam = 0, const QString& text = QString());

// Passes the reports of an optimizer's search thread on to the windows as messages,
// each one a blocking call into the user-interface thread: the search waits until the
// window has handled it, as a synchronous window message would make it. Steps and
// generations go to Hd; the end goes to Hd1 first, then to Hd. A receiver that has
// been freed in the meantime is skipped.
//
// Hd and Hd1 are set on the user-interface thread before the search starts and read
// there only. The object must outlive the search.
class TD2RMessageForwarder : public TD2RListener {
  public:
    QPointer<QObject> Hd;   // progress window
    QPointer<QObject> Hd1;  // optimization dialog
    void OnStep(int k) override;
    void OnGeneration(const QString& text) override;
    void OnDone(const TD2RSchame& best) override;
    void OnDeepProgress(int32_t sheets, int32_t bound, double seconds) override;

  private:
    void Deliver(int msg, int wParam, const QString& text, bool toDialog);
};

class TfrmCulcControler : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmCulcControler(QWidget* parent = nullptr);

    int32_t tm = 0;        // elapsed seconds
    QPointer<QObject> hd;  // the dialog that receives accept and cancel

    QLabel* Label1;
    QProgressBar* ProgressBar2;  // constructions of the current generation (30)
    QLabel* Label6;
    QProgressBar* ProgressBar1;  // generations done
    QLabel* Label7;
    QLabel* Label4;  // elapsed time
    QLabel* Label8;
    QLabel* Label5;  // best utilisation and number of layouts
    QLabel* lblDeep;  // deep search: best sheet count and lower bound (hidden otherwise)
    QLabel* Image2;
    QLabel* Label2;
    QLabel* imgCancel;
    QLabel* Label3;
    QTimer* Timer1;

    void Timer1Timer();
    void Image2Click();
    void Label2Click();
    void imgCancelClick();
    void Label3Click();

    void ReciveMsg();                         // WM_D2R_DONE
    void ReciveProcess(const QString& text);  // WM_D2R_GEN
    void ReciveProcess2(int k);               // WM_D2R_STEP
    void ReciveDeep(const QString& text);     // WM_D2R_DEEP

    // Closes the window when the run has ended (the dialog calls it on WM_D2R_DONE).
    void CloseWindow();

  public slots:
    // Escape and the window's close request do not end a run: the run is ended only
    // through accept or cancel, so the dialog never loses track of its thread.
    void reject() override;

  protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;

  private:
    void Accept();
    void Cancel();
};
