#include "ui/design/UBeiBan.h"

TfrmBeiBan::TfrmBeiBan(QWidget* parent)
    : TBoardDlgBase({QStringLiteral("添加背板"), QStringLiteral("背板"), false, "LRTB", "LRTB"},
                    parent) {
    setObjectName("frmBeiBan");
}
