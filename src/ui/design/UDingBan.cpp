#include "ui/design/UDingBan.h"

TfrmDingBan::TfrmDingBan(QWidget* parent)
    : TBoardDlgBase({QStringLiteral("添加顶板"), QStringLiteral("顶板"), true, "LRQH", "LRQH"},
                    parent) {
    setObjectName("frmDingBan");
}
