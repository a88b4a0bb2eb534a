#pragma once
// The files of the program itself that it reads or loads at some time, found by identity: everything in the
// trees of its folders (the application folder with its plug-ins, profiles, languages and their resources, help
// and sound module, and the folders the paths file names, wherever they lie) and the program file. A run log may
// be none of them: emptying one would break this run or a later one.
#include "Util/FileIdentity.h"
#include <QString>
#include <QStringList>

namespace ProgramFiles {
// The path of the file in the trees of folders, or the file among files, that is identity; empty when none is.
// A tree is walked to a bounded number of entries, links followed, so a loop of links ends the walk.
QString Find(const FileIdentity& identity, const QStringList& folders, const QStringList& files);
} // namespace ProgramFiles
