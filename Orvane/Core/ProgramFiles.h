#pragma once
// The files of the program itself that it reads, loads or runs at some time, found by identity: everything in the
// trees of its folders (plug-ins, profiles, languages and their resources, help, and the folders the paths file
// names, wherever they lie), every executable of the application folder's tree (the program, its launcher, the
// sound module), every file the process has mapped (its executables and libraries, the toolkit's among them), and
// every library its modules would load (the sound module's, which only the window loads).
// A run log may be none of them: emptying one would break this run or a later one, or bring the process down.
// Other files of the application folder may be the user's: it is the start folder when ORVANEDIR is not set.
#include "Util/FileIdentity.h"
#include <QString>
#include <QStringList>

namespace ProgramFiles {
// The path of the file in the trees of folders, or the file among files, that is identity; empty when none is.
// A tree is walked to a bounded number of entries, links followed, so a loop of links ends the walk.
QString Find(const FileIdentity& identity, const QStringList& folders, const QStringList& files);

// The folder among folders whose tree holds the file that is identity; empty when none does.
QString FolderHolding(const FileIdentity& identity, const QStringList& folders);

// The path of the executable file in the tree of folder that is identity; empty when none is.
QString FindExecutable(const FileIdentity& identity, const QString& folder);

// The path of the file the process has mapped that is identity, as the system lists the mappings
// (/proc/self/maps): by the device and inode listed, or by the file at the path listed. Empty when none is.
QString FindMapped(const FileIdentity& identity);
// The path of a library that one of modules not loaded yet would load, resolved as the system's loader would
// (Host/LibrariesNeeded.h), that is identity; empty when none is. The libraries of a loaded module are mapped.
QString FindNeeded(const FileIdentity& identity, const QStringList& modules);
} // namespace ProgramFiles
