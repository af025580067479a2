#pragma once
// Number texts written by Kelm: the general form (documents, labels, reports) and
// fixed patterns such as "0.00", "0.0%", "0.0㎡" or "￥0.0".

#include <QString>

namespace kelm {

// General number form: at most 15 significant digits, "." separator, no thousands
// separator, no trailing zeros or point (2440, 1220.5, 0.25). Exponent form ("1E15",
// "1.5E-6") only for magnitudes below 0.00001 or from 10^15 upwards.
QString FormatGeneral(double value);

// Fixed pattern: the run of '0', '#', '.' and ',' characters is the number; every
// other character is copied literally (no scaling by '%'). The value is first taken
// to 15 significant decimal digits and then rounded half away from zero to the
// pattern's decimals, so 2.675 with "0.00" gives "2.68". '0' digits are always shown,
// '#' only when needed.
QString FormatPattern(double value, const QString& pattern);

// Decimal integer with a leading minus when negative.
QString FormatInt(long long value);

// Reads a number written with "." as separator (leading/trailing blanks allowed).
// Returns false and leaves value unchanged when the text is not a finite number.
bool ParseNumber(const QString& text, double& value);

}  // namespace kelm
