#pragma once
// What the main window opens that lives in other parts of the program: the designers,
// the optimization, the master-data and maintenance windows of later work, and the
// spreadsheet reports. Each is one function here, so the main window's commands stay
// as they are when a window or report arrives: only its function below changes.
// Until then a function tells the user that the function is not available yet.

#include <QColor>
#include <QString>

class QWidget;

// One row of FProWins as the edit command reads it.
struct TCabinetEntry {
    QString winID;
    QString winCode;
    QString Width;
    QString Height;
    QString Depth;
    QString winCount;
    QString winPath;  // scrambled cabinet document
    QString custID;
    QString custName;
    QString FengB;
};

// Combination designer for a new entry of the order; true when it saved one (IsOk).
bool OpenCombinationDesignerNew(QWidget* parent, const QString& proID);
// Combination designer editing a stored entry; true when it saved (IsOk).
bool OpenCombinationDesignerEdit(QWidget* parent, const QString& proID, const TCabinetEntry& entry);
// Cabinet taken from the library into the order; true when it saved one (IsOk).
bool OpenCabinetFromLibrary(QWidget* parent, const QString& proID);
void OpenOptimization(QWidget* parent, const QString& proID);

// Before the stored cutting layouts of order proID are shown or reported: when one no
// longer matches the order's panels ("排料结果已过期" with the material and what
// changed), offers to optimise again (the optimization window opens) or to go on with
// the stored layouts. True when the caller should go on: the layouts are current, the
// user chose to go on, or optimised again; false when the user stopped.
bool ConfirmStoredLayouts(QWidget* parent, const QString& proID);
void OpenMaterials(QWidget* parent);
void OpenOffcuts(QWidget* parent);  // 余料库存
void OpenCabinetLibrary(QWidget* parent);
void OpenSettings(QWidget* parent);
void OpenDrillingStandards(QWidget* parent);
void OpenRestore(QWidget* parent);
void OpenBackup(QWidget* parent);

// The spreadsheet reports of the main window.
enum class TReportKind {
    PanelList,      // panel list of the order
    CuttingLayout,  // stored cutting layouts of the order
    SizeSheet,      // size sheet of one cabinet entry
    DrawingSheet,   // drawing sheet of one cabinet entry, in a chosen colour
};
// Writes the report into path; proID is the open order, winID the selected entry (for
// the cabinet sheets), color the drawing colour. True when the file was written.
bool ExportReport(TReportKind kind, const QString& path, const QString& proID, const QString& winID,
                  const QColor& color);
