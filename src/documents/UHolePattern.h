#pragma once
// Hole patterns: the small XML document stored with every board row of the panel
// list, listing the connector holes to drill in that panel. Face holes ("M") mark
// where another board meets the panel; end holes 33 mm in from a panel end carry an
// edge bore towards that end ("L", "R", "T", "B"). Hole positions along a size come
// from the drilling rules of table FPKBZ. All lengths are millimetres; X runs along
// the panel's width, Y along its length.

#include <QString>
#include <stdexcept>
#include <vector>

#include "cabinet/UCabinet.h"
#include "cabinet/UDataType.h"

// Scrambling key of stored hole patterns.
inline const QString kHolePatternKey = QStringLiteral("tzrq");

// End holes lie this far in from the panel end, whatever the board thickness (mm).
inline constexpr double kEndHoleInset = 33;

// Raised when a drilling rule that has to be used holds a position that is not a
// number; the message names the rule and the entry.
class EHolePatternError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The drilling rules with their position lists read into numbers, ready for lookup.
// A rule covers the sizes s with minV <= s < maxV; overlapping rules resolve by list
// order (the first that covers a size wins).
class FHoleRules {
  public:
    FHoleRules() = default;
    explicit FHoleRules(const FPKBZ& _rules);

    // Hole positions (mm, in the rule's order) for a panel size; empty when no rule
    // covers it. Throws EHolePatternError when the covering rule has an entry that is
    // not a number (an entirely blank list means no holes).
    const std::vector<double>& Positions(double _size) const;

    const FPKBZ& Rules() const { return p_rules; }

  private:
    struct ParsedRule {
        std::vector<double> positions;
        QString badEntry;  // first entry that is not a number
        bool valid = true;
    };
    FPKBZ p_rules;
    std::vector<ParsedRule> p_parsed;
};

// Reads "SELECT minVal,maxVal,kwstr FROM FPKBZ" in the order the query returns the
// rows. False (and an empty list) when the query could not run.
bool ReadDrillingRules(FPKBZ& _rules);

// True for the board types that get a hole pattern: side boards, partitions, top,
// shelf, bottom and upright boards. Back boards (and door panels) get none.
bool HasHolePattern(FBCType _type);

// The plain hole-pattern document of board _bc of cabinet _cab (one line):
// <?xml version="1.0" encoding="gb2312"?><pz l=".." w=".." t=".."><kw>..</kw><kc></kc></pz>
// _l, _w and _t are the panel row's length, width and thickness texts as written to
// the row. Empty text for a board type without a pattern. Throws EHolePatternError.
QString BuildHolePattern(const FCabinet& _cab, const FBC& _bc, const FHoleRules& _rules,
                         const QString& _l, const QString& _w, const QString& _t);

// The stored form: the document scrambled under kHolePatternKey, or empty text when
// the board gets no document. Throws EHolePatternError.
QString BuildStoredHolePattern(const FCabinet& _cab, const FBC& _bc, const FHoleRules& _rules,
                               const QString& _l, const QString& _w, const QString& _t);
