// kelm-db: whole-database work from the command line.
//   kelm-db copy SOURCE TARGET
// SOURCE and TARGET are file paths or postgresql:// URLs, the forms KELM_DATABASE takes.
// The target is a new file or an empty server database (one holding only a new Kelm
// database's first rows will do); the source is only read. The copy is checked before
// it is kept (rows per table and a checksum over each table's rows, stored documents
// included), and a failed copy leaves no target behind. On success the checked digest
// is printed, one table a line. Exit status 0 on success, 1 when the copy failed or was
// refused, 2 for bad arguments.
#include <QCoreApplication>
#include <cstdio>

#include "common/Version.h"
#include "data/UnitDataCopy.h"
#include "data/UnitDataEngine.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: kelm-db copy SOURCE TARGET\n"
                 "       kelm-db --version | --help\n"
                 "  SOURCE, TARGET: a database file path or postgresql://user@host:port/database\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 1 && args[0] == QStringLiteral("--version")) {
        kelm::PrintVersion(QStringLiteral("kelm-db"));
        return 0;
    }
    if (args.size() == 1 && (args[0] == QStringLiteral("--help") || args[0] == QStringLiteral("-h"))) {
        Usage();
        return 0;
    }
    if (args.size() != 3 || args[0] != QStringLiteral("copy")) return Usage();
    QString error;
    for (const QString& text : {args[1], args[2]}) {
        TDbTarget target;
        if (!ParseDatabaseTarget(text, target, &error)) {
            std::fprintf(stderr, "kelm-db: %s: %s\n", qPrintable(text), qPrintable(error));
            return 2;
        }
    }
    QStringList digest;
    if (!CopyKelmDatabase(args[1], args[2], TCopyMode::IntoEmpty, &error, &digest)) {
        std::fprintf(stderr, "kelm-db: %s\n", qPrintable(error));
        return 1;
    }
    for (const QString& line : digest) std::printf("%s\n", qPrintable(line));
    return 0;
}
