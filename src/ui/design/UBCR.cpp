#include "ui/design/UBCR.h"

TfrmBCR::TfrmBCR(QWidget* parent)
    : TPosBoardDlgBase({QStringLiteral("添加层板"), QStringLiteral("层板"), true, "LRQH", "LRQH"},
                       false, parent) {
    setObjectName("frmBCR");
}
