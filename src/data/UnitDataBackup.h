#pragma once
// Backup of the database and the check of a database file before it replaces the data.
//
// A backup is a consistent copy of the database as committed, whatever other
// connections (a second Kelm on the same file) hold in the write-ahead log: SQLite
// writes it (VACUUM INTO) into a temporary file beside the target, which is checked
// (integrity, every table and view, the same rows as the database) and only then
// renamed into place. A failed backup leaves an existing file of that name as it was.
//
// On a server the backup is the copy of the server database into such a file
// (UnitDataCopy.h), and a restore replaces the server's data with a backup file's in
// one transaction, after the same check a restore of the file makes.

#include <QString>
#include <functional>

class TsysData;

// Writes the backup of the data module's database to target. progress (may be empty)
// gets 0 to 99 as the work advances and 0 at the end. On failure returns false and
// puts the reason (for logs) into *error.
bool BackupDatabase(TsysData& data, const QString& target, const std::function<void(int)>& progress,
                    QString* error = nullptr);

// True when the file is an SQLite database that passes its integrity check and holds
// every table with every column and every view with every column that a new Kelm
// database has. Columns that the upgrade on opening adds may be missing. The file is
// never written: a foreign file stays byte for byte as it was. On false, *reason says
// what is wrong (for logs).
bool IsKelmDatabaseFile(const QString& path, QString* reason = nullptr);

// Restores the backup file onto the data module's server database: the file must pass
// IsKelmDatabaseFile (else *refused is set), then every table's rows on the server are
// replaced by the file's in one transaction and checked; a failure leaves the server's
// data as they were. progress as for the backup. False with the reason in *error.
bool RestoreServerDatabase(TsysData& data, const QString& backup,
                           const std::function<void(int)>& progress, bool* refused,
                           QString* error = nullptr);
