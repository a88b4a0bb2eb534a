#pragma once
// The language file: every user-visible text, picture and sound, looked up by
// class name and id. One file per library copy (the program and each plug-in).
// Lookups never fail loudly: anything missing gives an empty text.
#include <QString>

class LanguageIndex;

class CLanguageResources
{
public:
    // False keeps no file, so an empty path releases the loaded one. The file
    // must be a regular file (links followed) within the cap of XML files;
    // `reason` (when given) says why one was refused.
    static bool Load(const QString& path, QString* reason = nullptr);
    // The plug-ins' way in: checks that the file can be read and parses it
    // only when a text is first asked for. The program has already loaded the
    // same file in full before any plug-in, and a command-line run asks a
    // plug-in for few texts or none, so the other copies never parse it. The
    // same unchanged file is not parsed twice in one library copy.
    static bool LoadOnFirstUse(const QString& path);

    static QString GetMessage(const QString& className, const QString& id);
    // Pictures and sounds come back with the resource folder in front.
    static QString GetPicture(const QString& className, const QString& id);
    static QString GetSound(const QString& className, const QString& id);

    // Set once by the main program at start-up; plug-ins leave it empty.
    static void SetResourceFolder(const QString& folder);
    static QString GetResourceFolder();

private:
    static LanguageIndex& Texts();
    // Parses a file that LoadOnFirstUse named; false when there is none.
    static bool EnsureParsed();
    static QString& ResourceFolder();
    static QString Lookup(const QString& className, const QString& section, const QString& itemTag, const QString& id);
};
