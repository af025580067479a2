#pragma once
// The program's application object: every event is handled under one guard, so an
// exception that escapes a window's handler is shown to the user and the program goes
// on, instead of ending and taking unsaved work with it.

#include <QApplication>
#include <functional>

// Runs one event's handling. An exception that escapes it is shown as
// "程序内部错误，当前操作未完成：" followed by its text; the result is then false.
bool HandleGuarded(const std::function<bool()>& handle);

class TKelmApplication : public QApplication {
  public:
    TKelmApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
};
