#pragma once
#include "Plugin/CPluginBase.h"

#include <QList>
#include <QString>
#include <QStringList>

class CPlugin;
class CPluginClass;
class CProfile;

// Loads every plug-in of the plug-in folder, keeps one record per converter class, answers queries on them,
// and releases everything at shut-down.
class CPluginManager
{
public:
    // Converter kinds (GetConverterType).
    enum
    {
        IMPORTER = 1,
        EXPORTER = 2,
        TRANSLATOR = 3
    };

    CPluginManager() = default;
    ~CPluginManager();
    CPluginManager(const CPluginManager&) = delete;
    CPluginManager& operator=(const CPluginManager&) = delete;

    // Loads every "*.so" file of the folder (letters of either case), in name order whatever the letter case.
    // Parameter files are read from folder + parameterFolderName, or folder + the library's base name when
    // the name is empty (the two are joined as they are). A folder that cannot be entered loads nothing.
    // Always 1.
    int Load(const QString& folder, const QString& parameterFolderName);
    // Where converters loaded from now on report a language file they cannot load; null keeps each
    // plug-in's own reporter.
    void SetResourceFailureReporter(CPluginBase::ResourceFailureReporter reporter)
    {
        m_ResourceFailureReporter = reporter;
    }
    // Destroys every converter (after its UnloadResources) and parameter set, then frees the libraries. 1.
    int Unload();

    // The usable records, in registration order, whose kind has every bit of requiredKind and none of
    // excludedKind, whose document type meets documentTypeMask, whose export extension is exportExtension
    // (when given) and one of whose import extensions is importExtension (when given), extensions compared
    // without regard to case. With a profile, the converter must also accept it. The records stay the
    // manager's.
    QList<CPluginClass*> Query(int requiredKind, int excludedKind, int documentTypeMask, const QString& exportExtension,
                               const QString& importExtension, CProfile* profile) const;

    // Every library and parameter file Load read or tried to read, in absolute form.
    const QStringList& GetReadFiles() const { return m_ReadFiles; }
    // Every record, usable or not, in registration order.
    const QList<CPluginClass*>& GetClassList() const { return m_Classes; }
    int GetPluginCount() const { return int(m_Plugins.size()); }
    // Empty outside the plug-in list; null when the export is missing.
    QString GetPluginName(unsigned index) const;
    // "major.minor"; empty outside the list, "0.0" when the export is missing.
    QString GetPluginVersion(unsigned index) const;
    // Empty outside the list; null when the export is missing.
    QString GetPluginBuildDate(unsigned index) const;

    // "major.minor" of a version word: major in the high 16 bits, minor in the low 16 bits.
    static QString VersionText(int version);

private:
    void LoadClasses(CPlugin& plugin, const QString& parameterPath);

    QList<CPlugin*> m_Plugins;
    QList<CPluginClass*> m_Classes;
    QStringList m_ReadFiles;
    CPluginBase::ResourceFailureReporter m_ResourceFailureReporter = nullptr;
};
