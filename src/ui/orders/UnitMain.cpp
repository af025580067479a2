#include "ui/orders/UnitMain.h"

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName("frmMain");
    setWindowTitle(QString::fromUtf8("Kelm 板式家具生产管理"));
    resize(1024, 700);
}
