#include "ui/design/UGeBan.h"

TfrmGeBan::TfrmGeBan(QWidget* parent)
    : TPosBoardDlgBase({QStringLiteral("添加隔板"), QStringLiteral("隔板"), false, "TBQH", "TBQH"},
                       true, parent) {
    setObjectName("frmGeBan");
}
