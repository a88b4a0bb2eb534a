#include "COrvApplication.h"
#include "Host/CPluginClass.h"
#include "Parameters/CProfile.h"
#include "Plugin/CPluginBase.h"
#include "Text/CLanguageResources.h"

namespace {

void AppendDescriptions(const QList<CPluginClass*>& list, QStringList& names)
{
    names.clear();
    for (CPluginClass* record : list)
        names.append(record->GetConverter()->GetDescription());
}

} // namespace

CPluginClass* COrvApplication::EntryAt(const QList<CPluginClass*>& list, int index)
{
    return PluginClassAt(list, index);
}

CPluginBase* COrvApplication::ConverterAt(const QList<CPluginClass*>& list, int index)
{
    return ::ConverterAt(list, index);
}

QList<CPluginClass*> COrvApplication::GetConverterList(CProfile* profile) const
{
    return m_PluginManager.Query(CPluginManager::EXPORTER, 0, CONVERTER_MASK, QString(), QString(), profile);
}

QList<CPluginClass*> COrvApplication::GetTraductorList(CProfile* profile) const
{
    return m_PluginManager.Query(CPluginManager::TRANSLATOR, 0, TRANSLATOR_MASK, QString(), QString(), profile);
}

QList<CPluginClass*> COrvApplication::GetEntireList(CProfile* profile) const
{
    return m_PluginManager.Query(CPluginManager::EXPORTER, 0, ANY_DOCUMENT, QString(), QString(), profile);
}

void COrvApplication::GetInstalledPlugins(QStringList& list)
{
    list.clear();
    for (int n = 0; n < m_PluginManager.GetPluginCount(); ++n)
        list.append(Message(QStringLiteral("id_plugin_info"))
                        .arg(m_PluginManager.GetPluginName(unsigned(n)), m_PluginManager.GetPluginVersion(unsigned(n)),
                             m_PluginManager.GetPluginBuildDate(unsigned(n))));
}

void COrvApplication::GetConverterNameList(QStringList& list)
{
    AppendDescriptions(GetConverterList(m_pCurrentProfile), list);
}

void COrvApplication::GetTraductorNameList(QStringList& list)
{
    AppendDescriptions(GetTraductorList(m_pCurrentProfile), list);
}

void COrvApplication::GetEntireNameList(QStringList& list)
{
    AppendDescriptions(GetEntireList(m_pCurrentProfile), list);
}

void COrvApplication::GetProfileNameList(QStringList& list)
{
    list.clear();
    for (CProfile* profile : m_Profiles)
        list.append(profile->GetMobileName());
}

void COrvApplication::AppendImporterExtensions(int documentTypeMask, QStringList& list) const
{
    const QList<CPluginClass*> importers =
        m_PluginManager.Query(CPluginManager::IMPORTER, 0, documentTypeMask, QString(), QString(), nullptr);
    for (CPluginClass* importer : importers)
        AppendOwnImportExtensions(importer->GetConverter(), list);
}

void COrvApplication::AppendOwnImportExtensions(CPluginBase* converter, QStringList& list)
{
    const int count = converter->GetImportExtensionCount();
    for (int j = 0; j < count; ++j)
        list.append(converter->GetImportExtension(j));
}

void COrvApplication::GetConverterImportExtensionList(QStringList& list, int converter)
{
    list.clear();
    if (CPluginBase* chosen = ConverterAt(GetConverterList(m_pCurrentProfile), converter))
        AppendImporterExtensions(chosen->GetDocumentType(), list);
}

void COrvApplication::GetTraductorImportExtensionList(QStringList& list, int translator)
{
    list.clear();
    if (CPluginBase* chosen = ConverterAt(GetTraductorList(m_pCurrentProfile), translator))
        AppendOwnImportExtensions(chosen, list);
}

void COrvApplication::GetExtensionListForBatch(int entry, QStringList& list)
{
    list.clear();
    CPluginBase* chosen = ConverterAt(GetEntireList(m_pCurrentProfile), entry);
    if (!chosen)
        return;
    if (chosen->GetDocumentType() == 1 && (chosen->GetConverterType() & 3) == 3)
        AppendOwnImportExtensions(chosen, list);
    else
        AppendImporterExtensions(chosen->GetDocumentType(), list);
}

void COrvApplication::GetEntireImportExtensionList(QStringList& list)
{
    list.clear();
    const int count = int(GetEntireList(m_pCurrentProfile).size());
    QStringList entry;
    for (int i = 0; i < count; ++i) {
        GetExtensionListForBatch(i, entry);
        list.append(entry);
    }
}

void COrvApplication::SetCurrentProfile(int index)
{
    m_pCurrentProfile = (index >= 0 && index < m_Profiles.size()) ? m_Profiles.at(index) : nullptr;
}
