#include "ui/UiApplication.h"

#include <QDebug>
#include <exception>

#include "data/UnitData.h"

namespace {
void Report(const QString& what) {
    qCritical().noquote() << "an event handler failed:" << what;
    ShowInfo(QStringLiteral("程序内部错误，当前操作未完成：") + what);
}
}  // namespace

bool HandleGuarded(const std::function<bool()>& handle) {
    try {
        return handle();
    } catch (const std::exception& e) {
        Report(QString::fromUtf8(e.what()));
    } catch (...) {
        Report(QStringLiteral("未知错误"));
    }
    return false;
}

bool TKelmApplication::notify(QObject* receiver, QEvent* event) {
    return HandleGuarded([&] { return QApplication::notify(receiver, event); });
}
