#include "ui/orders/UnitMainLinks.h"

#include <QComboBox>
#include <QLineEdit>
#include <QAction>
#include <exception>

#include "data/UnitData.h"
#include "documents/ULayoutParts.h"
#include "documents/UXmlOpen.h"
#include "documents/UXmlSave.h"
#include "reports/UReports.h"
#include "ui/orders/USetings.h"
#include "ui/orders/UnitBackData.h"
#include "ui/orders/UnitRestoreData.h"
#include "ui/orders/UnitWuLiao.h"
#include "ui/orders/UnitYuLiao.h"
#include "ui/UiPlatform.h"
#include "ui/design/UDesCbs.h"
#include "ui/design/UWinKu.h"
#include "ui/design/UWinSel.h"
#include "ui/drilling/UPZBZ.h"
#include "ui/optimize/UOptBl.h"

bool OpenCombinationDesignerNew(QWidget* parent, const QString& proID) {
    TfrmDesCbs frmDesCbs(parent);
    frmDesCbs.proID = proID;
    ShowModal(frmDesCbs);
    return frmDesCbs.IsOk;
}

bool OpenCombinationDesignerEdit(QWidget* parent, const QString& proID,
                                 const TCabinetEntry& entry) {
    std::unique_ptr<FCabs> cabs;
    try {
        cabs = FXmlOpen::OpenXml(entry.winPath);
    } catch (const std::exception&) {
        // A damaged document is not opened: saving over it would store a different cabinet.
        ShowInfo(QStringLiteral("柜体数据无法读取，不能编辑！"));
        return false;
    }
    TfrmDesCbs frmDesCbs(parent);
    frmDesCbs.IsEdit = true;
    frmDesCbs.SetCell(0, entry.winCode);
    frmDesCbs.SetCell(1, entry.Width);
    frmDesCbs.SetCell(2, entry.Depth);
    frmDesCbs.SetCell(3, entry.Height);
    frmDesCbs.SetCell(4, entry.winCount);
    frmDesCbs.txtCustName->setText(entry.custName);
    frmDesCbs.txtCustID->setText(entry.custID);
    frmDesCbs.cbFB->setEditText(entry.FengB);
    frmDesCbs.proID = proID;
    frmDesCbs.cbID = entry.winID;
    frmDesCbs.openedVersion = FXmlSave::PositionVersion(entry.winID);
    frmDesCbs.tlNew->setEnabled(false);
    frmDesCbs.CBS = std::move(cabs);
    frmDesCbs.ShowSizes();
    ShowModal(frmDesCbs);
    return frmDesCbs.IsOk;
}

bool OpenCabinetFromLibrary(QWidget* parent, const QString& proID) {
    TfrmWinSel frmWinSel(parent);
    frmWinSel.proID = proID;
    ShowModal(frmWinSel);
    return frmWinSel.IsOk;
}

void OpenOptimization(QWidget* parent, const QString& proID) {
    TfrmOptBl frmOptBl(parent);
    frmOptBl.proID = proID;
    ShowModal(frmOptBl);
}
bool ConfirmStoredLayouts(QWidget* parent, const QString& proID) {
    std::vector<TStaleLayout> stale = FindStaleLayouts(proID);
    if (stale.empty()) return true;
    if (AskConfirm(StaleLayoutsText(stale) +
                   QStringLiteral("\n\n是否重新优化？选择“确定”重新优化，"
                                  "选择“取消”仍按旧的排料结果继续。"))) {
        OpenOptimization(parent, proID);
        stale = FindStaleLayouts(proID);
        // Still out of date (the optimization was left or a material skipped): the user
        // decides once more, now between going on and stopping.
        if (!stale.empty())
            return AskConfirm(StaleLayoutsText(stale) +
                              QStringLiteral("\n\n仍按旧的排料结果继续吗？"));
    }
    return true;
}

void OpenMaterials(QWidget* parent) {
    TfrmWuLiao frmWuLiao(parent);
    ShowModal(frmWuLiao);
}
void OpenOffcuts(QWidget* parent) {
    TfrmYuLiao frmYuLiao(parent);
    ShowModal(frmYuLiao);
}
void OpenCabinetLibrary(QWidget* parent) {
    TfrmWinKu frmWinKu(parent);
    ShowModal(frmWinKu);
}
void OpenSettings(QWidget* parent) {
    TfrmSettings frmSettings(parent);
    ShowModal(frmSettings);
}
void OpenDrillingStandards(QWidget* parent) {
    TfrmPZBZ dialog(parent);
    ShowModal(dialog);
}
void OpenRestore(QWidget* parent) {
    TfrmRestoreData frmRestoreData(parent);
    ShowModal(frmRestoreData);
}
void OpenBackup(QWidget* parent) {
    TfrmBackData frmBackData(parent);
    ShowModal(frmBackData);
}

bool ExportReport(TReportKind kind, const QString& path, const QString& proID, const QString& winID,
                  const QColor& color) {
    switch (kind) {
        case TReportKind::PanelList:
            return ExportPanelReport(path, proID);
        case TReportKind::CuttingLayout:
            return ExportCutReport(path, proID);
        case TReportKind::SizeSheet:
            return ExportSizeSheet(path, winID);
        case TReportKind::DrawingSheet:
            return ExportDrawingSheet(
                path, winID,
                kelm::Color(uint8_t(color.red()), uint8_t(color.green()), uint8_t(color.blue())));
    }
    return false;
}
