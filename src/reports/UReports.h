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

// Cutting layout report of the stored layout of order proID: summary, raw sheet list and
// the diagram of every sheet layout, each below the previous. The workbook is written as
// the chosen path's name up to its first "." followed by "_1.xls" (then "_2.xls" for a
// further stored layout, holding every sheet so far), and the closing message names the
// file actually written. No stored layout: nothing happens.
bool ExportCutReport(const QString& path, const QString& proID);

// Size sheet of cabinet entry winID: filled picture with dimension lines, code, outer
// size and quantity, and the list of its panels.
bool ExportSizeSheet(const QString& path, const QString& winID);

// Drawing sheet of cabinet entry winID: code, outer size and quantity and a wire-frame
// picture with dimension lines in the given colour.
bool ExportDrawingSheet(const QString& path, const QString& winID, kelm::Color color);

// --- building blocks ------------------------------------------------------------------

// File the cutting layout report writes for the chosen path: everything from the first
// "." of the file name onwards removed (folder kept, "/" or "\" as separators), then
// "_" + number + ".xls". "D:\My Reports\cut.old.xls", 1 -> "D:\My Reports\cut_1.xls".
QString CutReportFileName(const QString& chosenPath, int number);

// Adds the cutting layout sheet "[Kelm]报表" of one optimization result to book: the
// statistics of schame over the part list eles (prm.Bin decides reusable leftovers), the
// raw sheets used and every layout's diagram at dpi dots per inch. viaTempBitmap: each
// diagram is written as "Temp.bmp" and inserted from there (as the program does);
// otherwise the bitmaps stay in memory. False with a reason when a picture could not be
// made or placed.
bool AddCutReportSheet(kelm::XlsWorkbook& book, const TD2REleArr& eles, const TD2RPrm& prm,
                       const TD2RSchame& schame, int dpi, bool viaTempBitmap, QString* error);

// The cutting layout report of a result straight into path (no database, no messages):
// one sheet built by AddCutReportSheet. False with a reason when it could not be written.
bool WriteCutReport(const QString& path, const TD2REleArr& eles, const TD2RPrm& prm,
                    const TD2RSchame& schame, int dpi, QString* error);

// Picture of a cabinet document (the scrambled text of FProWins.winPath) as a bitmap of
// width × height pixels, scaled so the larger of the combination's width and height
// fills the picture less 30 pixels on each side, with dimension lines; fill: filled
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
