#pragma once
// kelm-cut's shop-floor outputs: the cutting diagrams as PDF (with the cut sequence), the
// part labels as PDF and the cut sequence as CSV.

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <vector>

#include "output/Label.h"
#include "output/LayoutPage.h"

#include "optimizer/UnitD2RectTypes.h"

struct OutputOptions {
    QString pdf;       // --pdf FILE
    QString labels;    // --labels FILE
    QString sequence;  // --sequence FILE
    QString labelSize = "100x60";
    QString paper = "a4";
    QString barcode = "code128";
    bool Any() const { return !pdf.isEmpty() || !labels.isEmpty() || !sequence.isEmpty(); }
};

// The option names handled here, each taking a value.
QStringList OutputOptionNames();
extern const char* const kOutputUsage;

// Reads the output options out of the parsed options; throws CutInputError for a bad value
// or an output file that cannot be written.
OutputOptions ReadOutputOptions(const std::map<QString, QString>& given);

// Whether the command line asks for an output that draws text (needs a GUI application).
bool OutputsNeedFonts(int argc, char** argv);

// Writes the requested outputs of a result. raws is the optimizer's sheet list, eles the
// part list, order names the job in headers. False with a message in *error.
bool WriteOutputs(const OutputOptions& o, const TD2RSchame& schame, const TD2RPrm& prm, const TD2REleArr& eles,
                  const QString& order, QString* error);

// Writes the requested outputs of pages already made (and their labels, made only when
// asked for through makeLabels). False with a message in *error.
bool WritePageOutputs(const OutputOptions& o, const std::vector<kelm::output::LayoutPage>& pages,
                      const std::function<std::vector<kelm::output::Label>()>& makeLabels, const QString& title,
                      QString* error);

// The cut sequence as CSV: layout,step,direction,position,length,level,x,y (position is the
// fence measurement; x, y where the cut starts on the sheet), one line per cut; layouts
// numbered as the pages are.
QString CutSequenceCsv(const std::vector<kelm::output::LayoutPage>& pages);
