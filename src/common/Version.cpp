#include "common/Version.h"

#include <cstdio>
#include <cstring>

#ifndef KELM_VERSION
#error "KELM_VERSION comes from the build (the project version)"
#endif

namespace kelm {

QString VersionNumber() { return QStringLiteral(KELM_VERSION); }

QString VersionLine(const QString& program) { return program + QLatin1Char(' ') + VersionNumber(); }

bool AsksForVersion(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i)
        if (argv[i] && std::strcmp(argv[i], "--version") == 0) return true;
    return false;
}

void PrintVersion(const QString& program) {
    const QByteArray line = (VersionLine(program) + QLatin1Char('\n')).toUtf8();
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fflush(stdout);
}

}  // namespace kelm
