#include "ui/orders/UnitMainLinks.h"

#include "data/UnitData.h"
#include "reports/UReports.h"

QString NotAvailableText(const QString& function) {
    return QStringLiteral("“%1”功能暂未提供，敬请期待！").arg(function);
}

namespace {
void NotAvailable(const QString& function) { ShowInfo(NotAvailableText(function)); }
}  // namespace

bool OpenCombinationDesignerNew(QWidget*, const QString&) {
    NotAvailable(QStringLiteral("柜体设计"));
    return false;
}

bool OpenCombinationDesignerEdit(QWidget*, const QString&, const TCabinetEntry&) {
    NotAvailable(QStringLiteral("柜体编辑"));
    return false;
}

bool OpenCabinetFromLibrary(QWidget*, const QString&) {
    NotAvailable(QStringLiteral("单柜设计"));
    return false;
}

void OpenOptimization(QWidget*, const QString&) { NotAvailable(QStringLiteral("板材开料")); }
void OpenMaterials(QWidget*) { NotAvailable(QStringLiteral("材料管理")); }
void OpenCabinetLibrary(QWidget*) { NotAvailable(QStringLiteral("柜体图库")); }
void OpenSettings(QWidget*) { NotAvailable(QStringLiteral("系统设置")); }
void OpenDrillingStandards(QWidget*) { NotAvailable(QStringLiteral("打孔标准")); }
void OpenRestore(QWidget*) { NotAvailable(QStringLiteral("数据还原")); }
void OpenBackup(QWidget*) { NotAvailable(QStringLiteral("数据备份")); }

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
