#pragma once
// Reading printed output back as a person's tools would: page counts from pdfinfo, pages
// as pictures from pdftoppm, barcodes from zbarimg (Debian's poppler-utils, zbar-tools).

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

namespace outputtest {

inline QString Run(const QString& program, const QStringList& args, int* exitCode = nullptr) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(120000);
    if (exitCode) *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline int PdfPages(const QString& pdf) {
    const QString info = Run("pdfinfo", {pdf});
    const auto m = QRegularExpression(R"(Pages:\s+(\d+))").match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// Every page of pdf as PNG at dpi into dir; the files in page order.
inline QStringList PdfToPngs(const QString& pdf, const QString& dir, int dpi) {
    Run("pdftoppm", {"-r", QString::number(dpi), "-png", pdf, QDir(dir).filePath("page")});
    QStringList files;
    for (const QString& f : QDir(dir).entryList({"page*.png"}, QDir::Files, QDir::Name))
        files << QDir(dir).filePath(f);
    return files;
}

// Every barcode zbarimg finds on the picture, its payload only.
inline QStringList Decode(const QString& png) {
    int rc = 0;
    const QString out = Run("zbarimg", {"--quiet", "--raw", png}, &rc);
    return out.split('\n', Qt::SkipEmptyParts);
}

}  // namespace outputtest
