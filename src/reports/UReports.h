#pragma once
// The spreadsheet reports of an order: the panel list, the cutting layout report and
// the two sheets of one cabinet entry (size sheet, drawing sheet). Each writes an
// Excel 97-2003 workbook under the path the user chose and tells the user through the
// data module's prompt (ShowInfo) where the file is, or that it could not be saved and
// why. Each returns true when a file was written.
//
// Pictures go through the bitmap "Temp.bmp" in the program's folder (the temporary
// folder when the program's folder is not writable); it stays there afterwards.
//
// Sheet names such as "[Kelm]报表" reach the file as "(Kelm)报表": square brackets are
// not allowed in sheet names, and the workbook writer puts the closest allowed name.

#include <QString>

#include "common/Canvas.h"
#include "optimizer/UnitD2RectTypes.h"

namespace kelm {
class XlsWorkbook;
}

// --- messages --------------------------------------------------------------------
inline const QString kReportSavedAs = QStringLiteral("报表已经保存为：");
inline const QString kReportExportedAs = QStringLiteral("报表已经导出为文件：");
inline const QString kCutReportFailed = QStringLiteral("保存Excel文件出现异常！");
// Start of the message when a report could not be written; the path and the reason follow.
inline const QString kReportNotSaved = QStringLiteral("报表未能保存为：");

// --- the reports --------------------------------------------------------------------

// Panel list of order proID: one sheet "[Kelm]软件报表", a row per panel of view vProCls,
// customers together. An order without panels writes nothing and says nothing.
bool ExportPanelReport(const QString& path, const QString& proID);

// Cutting layout report of the stored layouts of order proID: one workbook under the
// chosen path holding one worksheet per material of the order (in the order of the
// materials' keys), each named after its material ("白颗粒板 18mm") with its summary,
// raw sheet list and the diagram of every sheet layout, each below the previous.
// Nothing is written when any layout cannot be read or drawn. No stored layout:
// nothing happens.
bool ExportCutReport(const QString& path, const QString& proID);

// The name a material goes by in reports: its name and thickness ("白颗粒板 18mm");
// the key alone when the material is gone.
QString MaterialLabel(const QString& ylID);

// Size sheet of cabinet entry winID: filled picture with dimension lines, code, outer
// size and quantity, and the list of its panels.
bool ExportSizeSheet(const QString& path, const QString& winID);

// Drawing sheet of cabinet entry winID: code, outer size and quantity and a wire-frame
// picture with dimension lines in the given colour.
bool ExportDrawingSheet(const QString& path, const QString& winID, kelm::Color color);

// --- building blocks ------------------------------------------------------------------

// A numbered file name for the chosen path: everything from the first "." of the file
// name onwards removed (folder kept, "/" or "\" as separators), then "_" + number +
// ".xls". "D:\My Reports\cut.old.xls", 1 -> "D:\My Reports\cut_1.xls".
QString CutReportFileName(const QString& chosenPath, int number);

// Adds the cutting layout sheet of one optimization result to book: the statistics of
// schame over the part list eles (prm.Bin decides reusable leftovers), the raw sheets
// used (number, material, size) and every layout's diagram at dpi dots per inch.
// material: the material's name as MaterialLabel gives it; it names the sheet, heads
// the summary and goes onto every sheet-list row and diagram title. Without it the sheet
// is "[Kelm]报表" and the layouts' own sheet names are shown. viaTempBitmap: each
// diagram is written as "Temp.bmp" and inserted from there (as the program does);
// otherwise the bitmaps stay in memory. False with a reason when a picture could not be
// made or placed.
bool AddCutReportSheet(kelm::XlsWorkbook& book, const TD2REleArr& eles, const TD2RPrm& prm,
                       const TD2RSchame& schame, int dpi, bool viaTempBitmap, QString* error,
                       const QString& material = QString());

// The cutting layout report of a result straight into path (no database, no messages):
// one sheet built by AddCutReportSheet. False with a reason when it could not be written.
bool WriteCutReport(const QString& path, const TD2REleArr& eles, const TD2RPrm& prm,
                    const TD2RSchame& schame, int dpi, QString* error);

// Picture of a cabinet document (the scrambled text of FProWins.winPath) as a bitmap of
// width × height pixels with dimension lines, the whole drawing (depth, top, dimension
// texts) centred inside a 10-pixel margin at the largest scale that fits; fill: filled
// faces instead of a wire frame. Written as "Temp.bmp"; returns its path, or an empty
// text with the reason in error when the document cannot be read or the file written.
QString MakeCabinetPicture(const QString& winPath, bool fill, kelm::Color color, int width,
                           int height, QString* error);

// --- environment --------------------------------------------------------------------

// Screen resolution the reports work at (dots per inch): the screen's unless set; 0
// goes back to the screen's.
int ReportDpi();
void SetReportDpi(int dpi);

// Folder holding "Temp.bmp": the program's folder unless set; empty goes back to it.
QString ReportProgramDir();
void SetReportProgramDir(const QString& dir);

// Where "Temp.bmp" would be written now: in the program's folder when it is writable and
// not an installation's program folder (/usr/bin), otherwise in the temporary folder.
QString TempBitmapPath();
