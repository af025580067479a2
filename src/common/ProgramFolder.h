#pragma once
// Whether the program may keep its own files (the database "KelmDB.db", "Temp.bmp") in
// the folder of its executable. A copy run from a folder of its own (a build tree, an
// unpacked folder on a workshop PC) keeps them there; an installed program never writes
// into the system's program folders, not even when root runs it and could.

#include <QString>

namespace kelm {

// True for the program folders of an installation: .../usr/bin, .../usr/local/bin,
// .../usr/games, /bin, /sbin and everything under /opt. The path is taken as written
// (after cleaning), so an installed tree unpacked into another folder counts as well.
bool IsInstalledProgramFolder(const QString& folder);

// True when files may be written next to the executable in `folder`: it is an existing,
// writable folder that is not an installation's program folder. Symbolic links are
// followed first, so a link in /usr/bin to a private copy is judged by the copy's folder.
bool ProgramFolderTakesFiles(const QString& folder);

}  // namespace kelm
