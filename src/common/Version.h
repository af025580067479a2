#pragma once
// The version every Kelm program reports with --version: the project's version as the
// build knows it, so the programs and the package always say the same.

#include <QString>

namespace kelm {

// "0.1"
QString VersionNumber();
// The line --version prints: "<program> <version>", e.g. "kelm-cut 0.1".
QString VersionLine(const QString& program);
// True when the command line holds "--version". Reads argv directly, so a window
// program can answer before it creates its application object and needs no display.
bool AsksForVersion(int argc, const char* const* argv);
// Writes VersionLine(program) and a line break to standard output; the caller then
// ends with exit status 0.
void PrintVersion(const QString& program);

}  // namespace kelm
