#pragma once
// Proof that the program starts, for checking an installation without anyone at the
// screen: with --check-start kelm starts exactly as usual and, once its main window
// stands on the screen, prints one line saying what stands (title, size, icon, database
// file) and ends with status 0. A message box in the way (a database that cannot be
// opened) or no main window within 30 seconds ends it with status 1 and the reason.

#include <QString>
#include <functional>

class QWidget;

namespace kelm {

bool AsksForStartCheck(int argc, const char* const* argv);

// Starts watching; mainWindow returns the main window once it exists (nullptr before),
// database the path of the database file in use. Call right after the application
// object is made, so a message box shown while the main window is built is seen too.
void ArmStartCheck(std::function<QWidget*()> mainWindow, std::function<QString()> database);

}  // namespace kelm
