#pragma once
// kelm-cut --db FILE --order [KEY]: optimises an order of a Kelm database exactly as the
// optimization dialog does (it runs the dialog's own batch: every material of the order,
// the settings' kerf and time class), stores the layouts as the dialog does, and writes
// the diagrams' PDF, the labels and the cut sequence for the whole order. Without a key it
// lists the orders.

#include <QStringList>

extern const char* const kDbUsage;

// Whether the command line asks for the database mode.
bool IsDbMode(int argc, char** argv);

// Runs it; the exit status: 0 done, 2 bad input (nothing written), 1 an output could not
// be written.
int RunDbMode(const QStringList& args);
