#include "ui/design/UDiBan.h"

#include <QLineEdit>

#include "ui/design/USetEdge.h"

TfrmDiBan::TfrmDiBan(QWidget* parent)
    : TBoardDlgBase({QStringLiteral("添加底板"), QStringLiteral("底板"), true, "LRQHB", "LRQH"},
                    parent) {
    setObjectName("frmDiBan");
}

void TfrmDiBan::PrepareEdge(TfrmSetEdge& dialog) { dialog.txtB->setText(QStringLiteral("100")); }
