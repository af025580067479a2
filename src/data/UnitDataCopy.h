#pragma once
// Copying a whole Kelm database between the embedded file and a server, either way:
// moving a workshop onto a server, backing a server up into a KelmDB.db file, restoring
// such a file onto a server. kelm-db and the backup and restore windows on a server use it.
//
// The source is only read (a file is opened read-only, a server session is read-only),
// all of it in one snapshot, so seats working meanwhile do not make the copy inconsistent.
// Every row of every table goes over with its counters; a source of an older release
// lacking columns or tables added since gives the target their defaults. The copy is
// checked before it is kept: the same number of rows in every table and the same
// checksum over every table's rows (stored documents included) on both sides.
//
// Nothing half-made is ever left: a target file is written as a temporary file beside
// it and renamed into place only when checked; on a server the schema (for an empty
// database), the removal of what the target held (when replacing) and every row are one
// transaction.

#include <QString>
#include <QStringList>
#include <functional>

enum class TCopyMode {
    // The target is a file that does not exist yet, or a server database that is empty
    // or a Kelm database holding nothing but a new database's first rows.
    IntoEmpty,
    // The target's data are replaced: an existing file is replaced whole, a Kelm
    // database on a server has every row replaced (restore). A server database that is
    // neither empty nor a Kelm database is still refused.
    Replace,
};

// Copies source into target (file paths or postgresql:// URLs). progress (may be empty)
// gets 0..100. False with the reason in Chinese in *error; the target then is as it
// was. On success *digest (when given) gets the checked digest (see below).
bool CopyKelmDatabase(const QString& source, const QString& target, TCopyMode mode,
                      QString* error = nullptr, QStringList* digest = nullptr,
                      const std::function<void(int)>& progress = {});

// Row count and checksum of every table present, one line each ("FCl 12 <sha256>"),
// the same text on both engines for the same data. Empty, with the reason in *error,
// when the database cannot be read. Never changes the database.
QStringList KelmDatabaseDigest(const QString& fileOrUrl, QString* error = nullptr);
