#include "CPluginManager.h"
#include "CFileInfo.h"
#include "CLocalFileDriver.h"
#include "CPlugin.h"
#include "CPluginClass.h"
#include "Parameters/CParameters.h"
#include "Parameters/CProfile.h"
#include "Plugin/CPluginBase.h"
#include "Plugin/CPluginClassInfo.h"
#include "Util/SafeFileWrite.h"
#include <QDir>
#include <QFile>
#include <memory>

CPluginManager::~CPluginManager()
{
    Unload();
}

int CPluginManager::Load(const QString& folder, const QString& parameterFolderName)
{
    CLocalFileDriver driver;
    if (folder.isEmpty() || !driver.SetCurrentDir(folder))
        return 1;
    // Later steps move the current folder, so the folder is used in its absolute form from here on; the
    // trailing separator that callers give is kept for joining the parameter folder name.
    QString root = driver.GetCurrentDir();
    if (folder.endsWith(QLatin1Char('/')) && !root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');

    QStringList names;
    const CFileInfoList* entries = driver.GetEntryList(QStringLiteral("*.so"), CFileDriver::FILES,
                                                       CFileDriver::SORT_NAME | CFileDriver::SORT_IGNORE_CASE);
    QStringList baseNames;
    for (const CFileInfo* entry : *entries) {
        names.append(entry->GetFileName());
        baseNames.append(entry->GetBaseName(false));
    }

    for (int n = 0; n < names.size(); ++n) {
        driver.SetCurrentDir(root);
        const QString library = QDir(root).absoluteFilePath(names.at(n));
        m_ReadFiles.append(library);
        auto* plugin = new CPlugin(QFile::encodeName(library).constData());
        const QString parameterPath = root + (parameterFolderName.isEmpty() ? baseNames.at(n) : parameterFolderName);
        driver.SetCurrentDir(parameterPath);
        m_Plugins.append(plugin);
        LoadClasses(*plugin, parameterPath);
    }
    return 1;
}

void CPluginManager::LoadClasses(CPlugin& plugin, const QString& parameterPath)
{
    for (int i = 0; i < plugin.GetClassCount(); ++i) {
        CPluginClassInfo* classInfo = plugin.GetClassInfo(i);
        if (!classInfo)
            continue;
        CPluginBase* converter = classInfo->CreateInstance();
        if (!converter)
            continue;
        // What the plug-in writes for a source is noted where the program's guards look.
        converter->ShareWrittenFiles(WrittenFilesPlace());
        auto record = std::make_unique<CPluginClass>();
        record->mpConverter = converter;
        record->mpClassInfo = classInfo;

        const QString fileName = converter->GetParametersFileName();
        if (!fileName.isEmpty()) {
            // Read from the parameter folder itself: when that folder is missing the file must fail, not be
            // picked up from wherever the current folder happens to be.
            const QString path = QDir(parameterPath).filePath(fileName);
            m_ReadFiles.append(path);
            record->mParametersPath = path;
            auto parameters = std::make_unique<CParameters>();
            auto startup = std::make_unique<CParameters>();
            if (parameters->Load(path) && startup->Load(path)) {
                record->mpDefaultParameters = parameters.release();
                record->mpStartupParameters = startup.release();
            } else {
                record->mFlags |= CPluginClass::UNUSABLE;
                record->mParametersLoadError = parameters->GetLoadError();
            }
        }
        converter->SetInstanceResourceFailureReporter(m_ResourceFailureReporter);
        if (converter->LoadResources() != 1)
            record->mFlags |= CPluginClass::UNUSABLE;
        m_Classes.append(record.release());
    }
}

int CPluginManager::Unload()
{
    // Converters run code of their library, so every record goes before any library.
    qDeleteAll(m_Classes);
    m_Classes.clear();
    qDeleteAll(m_Plugins);
    m_Plugins.clear();
    m_ReadFiles.clear();
    return 1;
}

QList<CPluginClass*> CPluginManager::Query(int requiredKind, int excludedKind, int documentTypeMask,
                                           const QString& exportExtension, const QString& importExtension,
                                           CProfile* profile) const
{
    const QString exportKey = exportExtension.toUpper();
    const QString importKey = importExtension.toUpper();
    QList<CPluginClass*> found;
    for (CPluginClass* record : m_Classes) {
        if (!record->IsUsable())
            continue;
        CPluginBase* converter = record->GetConverter();
        bool match = true;
        const int kind = converter->GetConverterType();
        if ((kind & requiredKind) != requiredKind)
            match = false;
        if ((kind & excludedKind) != 0)
            match = false;
        if ((converter->GetDocumentType() & documentTypeMask) == 0)
            match = false;
        if (!exportKey.isEmpty() && converter->GetExportExtension().toUpper() != exportKey)
            match = false;
        if (!importKey.isEmpty()) {
            bool offered = false;
            const int count = converter->GetImportExtensionCount();
            for (int j = 0; j < count && !offered; ++j)
                offered = converter->GetImportExtension(j).toUpper() == importKey;
            if (!offered)
                match = false;
        }
        if (profile && converter->IsCompatibleWithProfile(profile) == 0)
            match = false;
        if (match)
            found.append(record);
    }
    return found;
}

QString CPluginManager::VersionText(int version)
{
    const uint32_t word = static_cast<uint32_t>(version);
    return QStringLiteral("%1.%2").arg(word >> 16).arg(word & 0xFFFF);
}

QString CPluginManager::GetPluginName(unsigned index) const
{
    if (index >= unsigned(m_Plugins.size()))
        return QLatin1String("");
    return QString::fromLatin1(m_Plugins.at(int(index))->GetName());
}

QString CPluginManager::GetPluginVersion(unsigned index) const
{
    if (index >= unsigned(m_Plugins.size()))
        return QLatin1String("");
    return VersionText(m_Plugins.at(int(index))->GetVersion());
}

QString CPluginManager::GetPluginBuildDate(unsigned index) const
{
    if (index >= unsigned(m_Plugins.size()))
        return QLatin1String("");
    return QString::fromLatin1(m_Plugins.at(int(index))->GetBuildDate());
}
