#include "common/NumberFormat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace kelm {
namespace {

// Decimal digits of |value| to 15 significant places: digits without leading or
// trailing zeros and the decimal exponent of the first digit (value = 0.d1d2... * 10^exp10).
struct Decimal {
    bool negative = false;
    std::string digits;  // empty means zero
    int exp10 = 0;
};

Decimal ToDecimal(double value) {
    Decimal d;
    if (value == 0 || !std::isfinite(value)) return d;
    d.negative = value < 0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    // buf = "d.dddddddddddddde[+-]xx"
    std::string s(buf);
    const auto e = s.find('e');
    std::string mant = s.substr(0, e);
    const int exp = std::atoi(s.c_str() + e + 1);
    for (char c : mant)
        if (c != '.') d.digits.push_back(c);
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    d.exp10 = exp + 1;
    return d;
}

}  // namespace

QString FormatGeneral(double value) {
    if (std::isnan(value)) return QStringLiteral("NAN");
    if (std::isinf(value)) return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    const Decimal d = ToDecimal(value);
    if (d.digits.empty()) return QStringLiteral("0");
    std::string out;
    if (d.negative) out.push_back('-');
    const double mag = std::fabs(value);
    const bool scientific = d.exp10 > 15 || mag < 0.00001;
    if (scientific) {
        out.push_back(d.digits[0]);
        if (d.digits.size() > 1) {
            out.push_back('.');
            out.append(d.digits, 1, std::string::npos);
        }
        out.push_back('E');
        out += std::to_string(d.exp10 - 1);
    } else if (d.exp10 <= 0) {
        out += "0.";
        out.append(static_cast<size_t>(-d.exp10), '0');
        out += d.digits;
    } else {
        const size_t intLen = static_cast<size_t>(d.exp10);
        if (d.digits.size() <= intLen) {
            out += d.digits;
            out.append(intLen - d.digits.size(), '0');
        } else {
            out.append(d.digits, 0, intLen);
            out.push_back('.');
            out.append(d.digits, intLen, std::string::npos);
        }
    }
    return QString::fromStdString(out);
}

QString FormatPattern(double value, const QString& pattern) {
    // Locate the number part of the pattern.
    auto isNumChar = [](QChar c) { return c == '0' || c == '#' || c == '.' || c == ','; };
    qsizetype start = -1, end = -1;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '0' || pattern[i] == '#') {
            start = i;
            break;
        }
    }
    if (start < 0) return pattern;
    end = start;
    while (end < pattern.size() && isNumChar(pattern[end])) ++end;
    const QString spec = pattern.mid(start, end - start);
    const qsizetype dot = spec.indexOf('.');
    const QString intSpec = dot < 0 ? spec : spec.left(dot);
    const QString fracSpec = dot < 0 ? QString() : spec.mid(dot + 1);
    const int minInt = static_cast<int>(intSpec.count('0'));
    const int maxFrac = static_cast<int>(fracSpec.count('0') + fracSpec.count('#'));
    int minFrac = 0;
    for (int i = 0; i < fracSpec.size() && fracSpec[i] == '0'; ++i) minFrac = i + 1;
    const bool thousands = intSpec.contains(',');

    // Digits of the value as a decimal string (15 significant digits), then rounded
    // half away from zero at maxFrac decimals.
    Decimal d = ToDecimal(std::isfinite(value) ? value : 0.0);
    // Integer digits and fraction digits as strings.
    std::string intDigits, fracDigits;
    if (!d.digits.empty()) {
        if (d.exp10 <= 0) {
            fracDigits = std::string(static_cast<size_t>(-d.exp10), '0') + d.digits;
        } else if (static_cast<int>(d.digits.size()) <= d.exp10) {
            intDigits = d.digits + std::string(static_cast<size_t>(d.exp10) - d.digits.size(), '0');
        } else {
            intDigits = d.digits.substr(0, static_cast<size_t>(d.exp10));
            fracDigits = d.digits.substr(static_cast<size_t>(d.exp10));
        }
    }
    if (static_cast<int>(fracDigits.size()) > maxFrac) {
        const bool roundUp = fracDigits[static_cast<size_t>(maxFrac)] >= '5';
        fracDigits.resize(static_cast<size_t>(maxFrac));
        if (roundUp) {
            std::string all = intDigits + fracDigits;
            int i = static_cast<int>(all.size()) - 1;
            while (i >= 0 && all[static_cast<size_t>(i)] == '9') all[static_cast<size_t>(i--)] = '0';
            if (i >= 0)
                ++all[static_cast<size_t>(i)];
            else
                all.insert(all.begin(), '1');
            const size_t intLen = all.size() - fracDigits.size();
            intDigits = all.substr(0, intLen);
            fracDigits = all.substr(intLen);
        }
    }
    while (static_cast<int>(fracDigits.size()) > minFrac && !fracDigits.empty() &&
           fracDigits.back() == '0')
        fracDigits.pop_back();
    while (static_cast<int>(fracDigits.size()) < minFrac) fracDigits.push_back('0');
    // Strip leading zeros of the integer part, then pad to the pattern's minimum.
    size_t nz = 0;
    while (nz < intDigits.size() && intDigits[nz] == '0') ++nz;
    intDigits = intDigits.substr(nz);
    while (static_cast<int>(intDigits.size()) < minInt) intDigits.insert(intDigits.begin(), '0');
    if (thousands && intDigits.size() > 3) {
        std::string grouped;
        const size_t n = intDigits.size();
        for (size_t i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0) grouped.push_back(',');
            grouped.push_back(intDigits[i]);
        }
        intDigits = grouped;
    }
    const bool allZero = intDigits.find_first_not_of("0,") == std::string::npos &&
                         fracDigits.find_first_not_of('0') == std::string::npos;
    std::string number;
    if (d.negative && !allZero) number.push_back('-');
    number += intDigits;
    if (!fracDigits.empty()) {
        number.push_back('.');
        number += fracDigits;
    }
    if (number.empty() || number == "-") number.assign(1, '0');
    return pattern.left(start) + QString::fromStdString(number) + pattern.mid(end);
}

QString FormatInt(long long value) { return QString::number(value); }

bool ParseNumber(const QString& text, double& value) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    // "nan" and "inf" are accepted by the conversion but are no length, count or price.
    if (!ok || !std::isfinite(v)) return false;
    value = v;
    return true;
}

}  // namespace kelm
