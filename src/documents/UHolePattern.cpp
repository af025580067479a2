#include "documents/UHolePattern.h"

#include <cmath>

#include "common/NumberFormat.h"
#include "data/UnitData.h"
#include "documents/UnitEncrypTo.h"

namespace {

const std::vector<double> kNoPositions;

// Face holes of horizontal joining boards are written with one space before f, every
// other hole with two; readers of the stored patterns rely on both forms.
enum class HoleForm { OneSpace, TwoSpaces };

void AppendHole(QString& out, double x, double y, QChar code, HoleForm form) {
    out += QStringLiteral("<k x=\"");
    out += kelm::FormatGeneral(x);
    out += QStringLiteral("\" y=\"");
    out += kelm::FormatGeneral(y);
    out += form == HoleForm::OneSpace ? QStringLiteral("\" f=\"") : QStringLiteral("\"  f=\"");
    out += code;
    out += QStringLiteral("\" desc=\"\" />");
}

bool IsHorizontal(FBCType type) {
    return type == FBCType::DingBan || type == FBCType::CengBan || type == FBCType::DiBan;
}

// Face holes in a side board or partition where horizontal and upright boards end
// against it.
void AppendSideJoinHoles(QString& out, const FCabinet& cab, const FBC& bc,
                         const FHoleRules& rules) {
    for (const FBC& j : cab.GetJoinBCS(bc)) {
        if (IsHorizontal(j.BCType)) {
            const double y = (j.Pos.Y1 + j.Pos.Y2) / 2 - bc.Pos.Y1;
            for (double p : rules.Positions(j.D))
                AppendHole(out, j.Pos.Z + p, y, QLatin1Char('M'), HoleForm::OneSpace);
        } else if (j.BCType == FBCType::ShuBan) {
            const double x = j.Pos.Z + j.D / 2;
            for (double p : rules.Positions(j.Pos.Y2 - j.Pos.Y1))
                AppendHole(out, x, j.Pos.Y1 - bc.Pos.Y1 + p, QLatin1Char('M'), HoleForm::TwoSpaces);
        }
    }
}

// Face holes in a horizontal board where side boards and partitions stand on it or
// hang from it.
void AppendHorizontalJoinHoles(QString& out, const FCabinet& cab, const FBC& bc,
                               const FHoleRules& rules) {
    for (const FBC& j : cab.GetJoinBCS2(bc)) {
        const double x = (j.Pos.X1 + j.Pos.X2) / 2 - bc.Pos.X1;
        for (double p : rules.Positions(j.D))
            AppendHole(out, x, j.Pos.Z + p, QLatin1Char('M'), HoleForm::OneSpace);
    }
}

// End holes at both ends of the panel's width: "L" 33 mm from the left end, then "R"
// 33 mm from the right end, at the positions for the size along the ends.
void AppendLeftRightEndHoles(QString& out, const FBC& bc, double alongSize,
                             const FHoleRules& rules) {
    const std::vector<double>& positions = rules.Positions(alongSize);
    for (double p : positions)
        AppendHole(out, kEndHoleInset, p, QLatin1Char('L'), HoleForm::TwoSpaces);
    const double right = (bc.Pos.X2 - bc.Pos.X1) - kEndHoleInset;
    for (double p : positions) AppendHole(out, right, p, QLatin1Char('R'), HoleForm::TwoSpaces);
}

// End holes of a partition: "T" 33 mm from the top end, then "B" 33 mm from the bottom.
void AppendTopBottomEndHoles(QString& out, const FBC& bc, const FHoleRules& rules) {
    const std::vector<double>& positions = rules.Positions(bc.D);
    for (double p : positions)
        AppendHole(out, p, kEndHoleInset, QLatin1Char('T'), HoleForm::TwoSpaces);
    const double bottom = (bc.Pos.Y2 - bc.Pos.Y1) - kEndHoleInset;
    for (double p : positions) AppendHole(out, p, bottom, QLatin1Char('B'), HoleForm::TwoSpaces);
}

}  // namespace

FHoleRules::FHoleRules(const FPKBZ& _rules) : p_rules(_rules) {
    p_parsed.reserve(_rules.size());
    for (const FKW& rule : _rules) {
        ParsedRule parsed;
        // A rule with no positions at all simply drills nothing.
        if (!rule.kwStr.trimmed().isEmpty()) {
            for (const QString& entry : rule.kwStr.split(QLatin1Char(','))) {
                double value = 0;
                if (!kelm::ParseNumber(entry, value) || !std::isfinite(value)) {
                    parsed.valid = false;
                    parsed.badEntry = entry.trimmed();
                    parsed.positions.clear();
                    break;
                }
                parsed.positions.push_back(value);
            }
        }
        p_parsed.push_back(std::move(parsed));
    }
}

const std::vector<double>& FHoleRules::Positions(double _size) const {
    for (std::size_t i = 0; i < p_rules.size(); ++i) {
        const FKW& rule = p_rules[i];
        if (!(rule.minV <= _size && _size < rule.maxV)) continue;
        const ParsedRule& parsed = p_parsed[i];
        if (!parsed.valid)
            throw EHolePatternError(
                QStringLiteral(
                    "drilling rule %1<=size<%2: hole position \"%3\" in \"%4\" is not a number")
                    .arg(kelm::FormatGeneral(rule.minV), kelm::FormatGeneral(rule.maxV),
                         parsed.badEntry, rule.kwStr)
                    .toStdString());
        return parsed.positions;
    }
    return kNoPositions;
}

bool ReadDrillingRules(FPKBZ& _rules) {
    _rules.clear();
    auto query = OpenQuery(QStringLiteral("SELECT minVal,maxVal,kwstr FROM FPKBZ"));
    if (!query || !query->isActive()) return false;
    while (query->next()) {
        FKW rule;
        rule.minV = FieldFloat(*query, QStringLiteral("minVal"));
        rule.maxV = FieldFloat(*query, QStringLiteral("maxVal"));
        rule.kwStr = FieldText(*query, QStringLiteral("kwstr"));
        _rules.push_back(rule);
    }
    return true;
}

bool HasHolePattern(FBCType _type) {
    switch (_type) {
        case FBCType::CeBanLeft:
        case FBCType::CeBanRight:
        case FBCType::GeBan:
        case FBCType::DingBan:
        case FBCType::CengBan:
        case FBCType::DiBan:
        case FBCType::ShuBan:
            return true;
        case FBCType::BeiBan:
        case FBCType::MenBan:
            return false;
    }
    return false;
}

QString BuildHolePattern(const FCabinet& _cab, const FBC& _bc, const FHoleRules& _rules,
                         const QString& _l, const QString& _w, const QString& _t) {
    if (!HasHolePattern(_bc.BCType)) return QString();
    QString out;
    out.reserve(512);
    out += QStringLiteral("<?xml version=\"1.0\" encoding=\"gb2312\"?><pz l=\"");
    out += _l;
    out += QStringLiteral("\" w=\"");
    out += _w;
    out += QStringLiteral("\" t=\"");
    out += _t;
    out += QStringLiteral("\"><kw>");
    switch (_bc.BCType) {
        case FBCType::CeBanLeft:
        case FBCType::CeBanRight:
            AppendSideJoinHoles(out, _cab, _bc, _rules);
            break;
        case FBCType::GeBan:
            AppendSideJoinHoles(out, _cab, _bc, _rules);
            AppendTopBottomEndHoles(out, _bc, _rules);
            break;
        case FBCType::DingBan:
        case FBCType::CengBan:
        case FBCType::DiBan:
            AppendHorizontalJoinHoles(out, _cab, _bc, _rules);
            AppendLeftRightEndHoles(out, _bc, _bc.D, _rules);
            break;
        case FBCType::ShuBan:
            AppendLeftRightEndHoles(out, _bc, _bc.Pos.Y2 - _bc.Pos.Y1, _rules);
            break;
        default:
            break;
    }
    out += QStringLiteral("</kw><kc></kc></pz>");
    return out;
}

QString BuildStoredHolePattern(const FCabinet& _cab, const FBC& _bc, const FHoleRules& _rules,
                               const QString& _l, const QString& _w, const QString& _t) {
    const QString plain = BuildHolePattern(_cab, _bc, _rules, _l, _w, _t);
    if (plain.isEmpty()) return QString();
    return TEncrypXML::EncrypStr(plain, kHolePatternKey);
}
