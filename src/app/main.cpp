// Kelm start-up: wiring only. The data module comes first (its database is created on
// first use when missing), then the main window, maximized, with no order open, and
// the hidden drilling-standard and groove windows.
#include <QScreen>

#include "data/UnitData.h"
#include "ui/UiApplication.h"
#include "ui/UiPrompt.h"
#include "ui/drilling/UKaiCao.h"
#include "ui/drilling/UPZBZ.h"
#include "ui/orders/UnitMain.h"

int main(int argc, char** argv) {
    // An exception escaping a window is shown and the program goes on.
    TKelmApplication app(argc, argv);
    QApplication::setApplicationName("Kelm");

    TsysData data;
    TMessageBoxPrompt prompt;
    data.SetPrompt(&prompt);
    SetSysData(&data);

    int result = 0;
    {
        TfrmMain frmMain;
        // The drilling-standard and groove windows exist from start-up on, hidden.
        TfrmPZBZ frmPZBZ(&frmMain);
        TfrmKaiCao frmKaiCao(&frmMain);
        // Without a window manager (a bare X server) maximizing does nothing, so the
        // window starts on the whole available screen either way.
        if (QScreen* screen = QGuiApplication::primaryScreen())
            frmMain.setGeometry(screen->availableGeometry());
        frmMain.showMaximized();
        result = QApplication::exec();
    }
    SetSysData(nullptr);
    return result;
}
