// Kelm start-up: wiring only.
#include <QApplication>

#include "ui/orders/UnitMain.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kelm");
    TfrmMain frmMain;
    frmMain.showMaximized();
    return QApplication::exec();
}
