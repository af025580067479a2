#pragma once
// The layout store: keeps one cutting layout per order in table FProBCCut, scrambled,
// with its utilisation (percent, two decimals) and number of sheet layouts. A new
// result replaces the stored one only when it is better, whatever raw material either
// belongs to, so the order keeps its best layout and that layout's material.

#include <QString>

#include "optimizer/UnitD2RectTypes.h"

class TsysData;

class TD2File {
  public:
    // data: the data module to use; nullptr means the one of the run (sysData()).
    explicit TD2File(TsysData* data = nullptr);

    // Writes the result as the layout of the order's raw material bcID when that
    // material has none yet, or replaces the stored one when the new result is better:
    // higher utilisation, or the same utilisation with fewer layouts. Layouts of the
    // order's other materials stay. Returns true when the row was written.
    // Database failures are not reported (a failed lookup writes nothing).
    bool SaveToFile(const TD2RRawArr& raws, const TD2REleArr& eles, const TD2RPrm& prm,
                    const TD2RSchame& schame, const QString& proID, const QString& bcID);

    // Reads the stored layout with row key pyID: raw sheets and part types are
    // appended to the lists, the scheme is replaced and the stored parameters set.
    // Returns false and changes nothing when there is no such row. Throws
    // std::runtime_error when the key is not a number or the stored text does not
    // unscramble or parse (the message says what failed).
    bool OpenFile(const QString& pyID, TD2RRawArr& raws, TD2REleArr& eles, TD2RSchame& schame,
                  TD2RPrm& prm);

    // Utilisation of a scheme in percent, rounded to two decimals: part area over
    // raw sheet area, each layout counted RawCount times; 0 when there is no sheet.
    static double Utilisation(const TD2RSchame& schame);

    // Key of the stored layouts' scrambling.
    static inline const QString kScrambleKey = QStringLiteral("mepkad");

  private:
    TsysData* Data() const;
    TsysData* p_data;
};
