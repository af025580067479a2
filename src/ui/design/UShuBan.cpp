#include "ui/design/UShuBan.h"

TfrmShuBan::TfrmShuBan(QWidget* parent)
    : TBoardDlgBase({QStringLiteral("添加竖板"), QStringLiteral("立板"), false, "LRTBQ", "LRTB"},
                    parent) {
    setObjectName("frmShuBan");
}
