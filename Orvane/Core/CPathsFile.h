#pragma once
#include <QString>

// The folder names of the paths file ("Paths.xml"): the resource folder (below "Languages"), the parameter
// folder (below "Plugins") and the profile folder (below the application folder).
class CPathsFile
{
public:
    // Every name at its default.
    CPathsFile();

    // Reads the "name" attribute of the "resource", "parameter" and "profile" children of the root. A missing
    // or unreadable file, a missing element or an empty name leaves that folder at its default.
    void Read(const QString& path);

    QString mResourceFolder;
    QString mParameterFolder;
    QString mProfileFolder;
};
