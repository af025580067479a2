#include "app/StartCheck.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kelm {

namespace {

constexpr auto kPollEvery = std::chrono::milliseconds(100);
constexpr auto kGiveUpAfter = std::chrono::seconds(30);

void PrintLine(FILE* to, const QString& text) {
    const QByteArray bytes = (QStringLiteral("kelm: ") + text + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), to);
    std::fflush(to);
}

// A failed check may be inside a message box's own event loop, which the program would
// only leave by a click; the process ends here instead.
[[noreturn]] void Fail(const QString& reason) {
    PrintLine(stderr, QStringLiteral("start check failed: ") + reason);
    std::_Exit(1);
}

QString IconSizes(const QIcon& icon) {
    QStringList sizes;
    for (const QSize& s : icon.availableSizes()) sizes << QString::number(s.width());
    return sizes.isEmpty() ? QStringLiteral("none") : sizes.join(QLatin1Char(','));
}

}  // namespace

bool AsksForStartCheck(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i)
        if (argv[i] && std::strcmp(argv[i], "--check-start") == 0) return true;
    return false;
}

void ArmStartCheck(std::function<QWidget*()> mainWindow, std::function<QString()> database) {
    auto* timer = new QTimer(qApp);
    const auto started = std::chrono::steady_clock::now();
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            const auto* box = qobject_cast<QMessageBox*>(modal);
            Fail(QStringLiteral("a window stands in the way: ") + modal->windowTitle() +
                 (box ? QStringLiteral(" \"") + box->text() + QLatin1Char('"') : QString()));
        }
        QWidget* w = mainWindow();
        if (w && w->isVisible() && w->windowHandle() && w->windowHandle()->isExposed()) {
            timer->stop();
            PrintLine(stdout, QStringLiteral("main window shown: \"%1\" %2x%3, icon %4, database %5")
                                  .arg(w->windowTitle())
                                  .arg(w->width())
                                  .arg(w->height())
                                  .arg(IconSizes(w->windowIcon()), database()));
            QCoreApplication::exit(0);
            return;
        }
        if (std::chrono::steady_clock::now() - started > kGiveUpAfter)
            Fail(QStringLiteral("no main window after 30 seconds"));
    });
    timer->start(kPollEvery);
}

}  // namespace kelm
