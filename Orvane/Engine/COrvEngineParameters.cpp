// The engine's parameter sets: the working set of a converter or translator, prepared for the
// current profile and document, and the user's parameter files.
#include "CEngineHost.h"
#include "COrvEngine.h"
#include "EngineSupport.h"
#include "Host/CLocalFileInfo.h"
#include "Host/CPluginClass.h"
#include "Parameters/CParameters.h"
#include "Plugin/CPluginBase.h"
#include "Util/Assert.h"
#include <QDir>
#include <memory>

namespace {

// The user's set when there is one, else the default set.
CParameters* WorkingSet(const CPluginClass* record)
{
    return record->GetUserParameters() ? record->GetUserParameters() : record->GetDefaultParameters();
}

// Filters first without a profile, then with the current one, so a profile change takes effect.
void FilterWithProfile(CPluginBase* converter, CParameters* parameters, CProfile* profile)
{
    if (!parameters)
        return;
    converter->FilterParametersWithProfile(parameters, nullptr, 0);
    converter->FilterParametersWithProfile(parameters, profile, 1);
}

// Replaces the record's user set by the file; false (the previous set kept) when there is no record or the
// file cannot be loaded.
bool LoadUserParameters(CPluginClass* record, const QString& path)
{
    if (!record)
        return false;
    auto parameters = std::make_unique<CParameters>();
    if (!parameters->Load(path))
        return false;
    record->SetUserParameters(parameters.release());
    return true;
}

// Drops the user's set and resets the defaults; false when there is no record.
bool LoadDefaultParameters(CPluginClass* record)
{
    if (!record)
        return false;
    record->SetUserParameters(nullptr);
    if (CParameters* defaults = record->GetDefaultParameters())
        defaults->ResetAll();
    return true;
}

} // namespace

void COrvEngine::GetConverterParameters(int converter, CParameters** parameters)
{
    if (!parameters)
        return;
    CPluginClass* record = PluginClassAt(m_Host.GetConverterList(m_Host.GetCurrentProfile()), converter);
    if (!record)
        return;
    CParameters* set = WorkingSet(record);
    CPluginBase* plugin = record->GetConverter();
    FilterWithProfile(plugin, set, m_Host.GetCurrentProfile());
    CDocument* document = m_State.mpLoadedDocument;
    if (set && document) {
        ASSERT((plugin->GetDocumentType() & document->GetDocType()) != 0);
        plugin->FilterParametersWithDocument(set, document);
    }
    *parameters = set;
}

void COrvEngine::GetTraductorParameters(int translator, CParameters** parameters, QString& source)
{
    if (!parameters)
        return;
    CPluginClass* record = PluginClassAt(m_Host.GetTraductorList(m_Host.GetCurrentProfile()), translator);
    if (!record)
        return;
    CParameters* set = WorkingSet(record);
    CPluginBase* plugin = record->GetConverter();
    FilterWithProfile(plugin, set, m_Host.GetCurrentProfile());
    if (!source.isEmpty()) {
        const QByteArray bytes = ReadSourceFile(source);
        if (!bytes.isEmpty()) {
            ClearConversionLog(plugin);
            QDir::setCurrent(CLocalFileInfo(source).GetDirPath());
            std::unique_ptr<CDocument> document(plugin->Import(bytes));
            if (document && set) {
                document->SetName(source);
                plugin->FilterParametersWithDocument(set, document.get());
            }
        }
    }
    *parameters = set;
}

void COrvEngine::SaveParamsAsked(QString path, CParameters* parameters)
{
    if (!parameters || !parameters->Save(path))
        m_Host.Report(0, Message(QStringLiteral("id_warning")),
                      Message(QStringLiteral("id_param_saved_failed")).arg(path));
}

// A position outside the list that a panel sends fails like a file that cannot be loaded: with a warning.
void COrvEngine::LoadParamsAsked(int converter, QString path)
{
    if (!LoadUserParameters(PluginClassAt(m_Host.GetConverterList(m_Host.GetCurrentProfile()), converter), path))
        m_Host.Report(0, Message(QStringLiteral("id_warning")),
                      Message(QStringLiteral("id_param_loaded_failed")).arg(path));
}

void COrvEngine::LoadDefaultParamsAsked(int converter)
{
    if (!LoadDefaultParameters(PluginClassAt(m_Host.GetConverterList(m_Host.GetCurrentProfile()), converter)))
        m_Host.Report(0, Message(QStringLiteral("id_warning")), Message(QStringLiteral("id_converter_unavailable")));
}

void COrvEngine::LoadTraductorParamsAsked(int translator, QString path)
{
    if (!LoadUserParameters(PluginClassAt(m_Host.GetTraductorList(m_Host.GetCurrentProfile()), translator), path))
        m_Host.Report(0, Message(QStringLiteral("id_warning")),
                      Message(QStringLiteral("id_param_loaded_failed")).arg(path));
}

void COrvEngine::LoadDefaultTraductorParamsAsked(int translator)
{
    if (!LoadDefaultParameters(PluginClassAt(m_Host.GetTraductorList(m_Host.GetCurrentProfile()), translator)))
        m_Host.Report(0, Message(QStringLiteral("id_warning")), Message(QStringLiteral("id_converter_unavailable")));
}
