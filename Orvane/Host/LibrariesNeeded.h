#pragma once
// The libraries a module of the program needs, as the system's dynamic loader would resolve them when the module
// is loaded (through LD_LIBRARY_PATH, the module's own search paths and the loader's cache), asked of that loader
// itself in its listing mode, which runs none of the module's code. A library that only a module loaded later
// needs (the toolkit's multimedia library of the sound module) is so known before it is mapped.
#include <QString>
#include <QStringList>

namespace LibrariesNeeded {
// Whether the module is loaded in this process already (its libraries are then mapped), found by the loader
// without loading it.
bool IsLoaded(const QString& module);

// The paths of the libraries the module needs, those they need included, as the loader of this process resolves
// them now; empty when it cannot say (no such module, no library of this system).
QStringList Of(const QString& module);
} // namespace LibrariesNeeded
