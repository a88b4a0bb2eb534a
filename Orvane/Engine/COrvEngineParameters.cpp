// The engine's parameter sets: the working set of a converter or translator, fitted to the
// current profile and document, and the user's parameter files.
#include "CEngineHost.h"
#include "COrvEngine.h"
#include "CSourceGuard.h"
#include "EngineSupport.h"
#include "FailedSource.h"
#include "Host/CLocalFileInfo.h"
#include "Host/CPluginClass.h"
#include "ParameterFitting.h"
#include "Parameters/CParameters.h"
#include "Plugin/CPluginBase.h"
#include "Util/Assert.h"
#include <QDir>
#include <memory>

namespace {

// Replaces the record's user set by the file; false (the previous set kept) when there is no record or the
// file cannot be loaded, and then reason says why the file was refused (empty without a record). The form's
// choices belonged to the previous set.
bool LoadUserParameters(CPluginClass* record, CParameterChoices& choices, const QString& path, QString& reason)
{
    if (!record)
        return false;
    auto parameters = std::make_unique<CParameters>();
    if (!parameters->Load(path)) {
        reason = ParameterFileRefusal(*parameters);
        return false;
    }
    record->SetUserParameters(parameters.release(), path);
    choices.Clear();
    return true;
}

// Drops the user's set and the form's choices: the default set as loaded at start-up, to be fitted to the
// phone. False when there is no record.
bool LoadDefaultParameters(CPluginClass* record, CParameterChoices& choices)
{
    if (!record)
        return false;
    record->SetUserParameters(nullptr);
    if (CParameters* defaults = record->GetDefaultParameters())
        defaults->RestoreDeclared();
    choices.Clear();
    return true;
}

// A parameter file not loaded: the box and the run log hold the lines a batch or command-line run writes for it.
void ReportParameterFileRefused(CEngineHost& host, const QString& path, const QString& reason)
{
    const QString lines = FailedParameterFileLines(path, reason);
    if (!reason.isEmpty())
        host.Log(lines + QLatin1Char('\n'));
    host.Report(0, Message(QStringLiteral("id_warning")), lines);
}

} // namespace

CParameterChoices& COrvEngine::ChoicesOf(const CPluginClass* record)
{
    return m_State.mParameterChoices[record];
}

void COrvEngine::FitFormSetForRun(CPluginClass* record, const CParameters* parameters, CDocument* document)
{
    if (!parameters || parameters != ParameterFitting::WorkingSet(record))
        return;
    QList<CPhoneChange> changes;
    ParameterFitting::PrepareWorkingSet(record, ChoicesOf(record), m_Host.GetCurrentProfile(), document, &changes);
    for (const CPhoneChange& change : std::as_const(changes))
        m_Host.Log(ParameterFitting::LogLine(change));
}

void COrvEngine::GetConverterParameters(int converter, CParameters** parameters)
{
    if (!parameters)
        return;
    CPluginClass* record = PluginClassAt(m_Host.GetConverterList(m_Host.GetCurrentProfile()), converter);
    if (!record)
        return;
    CPluginBase* plugin = record->GetConverter();
    CDocument* document = m_State.mpLoadedDocument;
    if (document && ParameterFitting::WorkingSet(record))
        ASSERT((plugin->GetDocumentType() & document->GetDocType()) != 0);
    *parameters = ParameterFitting::PrepareWorkingSet(record, ChoicesOf(record), m_Host.GetCurrentProfile(), document);
}

void COrvEngine::GetTraductorParameters(int translator, CParameters** parameters, QString& source)
{
    if (!parameters)
        return;
    CPluginClass* record = PluginClassAt(m_Host.GetTraductorList(m_Host.GetCurrentProfile()), translator);
    if (!record)
        return;
    CPluginBase* plugin = record->GetConverter();
    std::unique_ptr<CDocument> document;
    // A parameter file of the user's is not fitted to the source: nothing to import for it.
    const bool fitToSource = ParameterFitting::WorkingSet(record) == record->GetDefaultParameters();
    if (fitToSource && !source.isEmpty()) {
        // Reading the source to fit the form is work on the source: without the memory for it the form is not
        // fitted, and the user is told.
        CSourceGuard guard(*this, source, Message("id_warning"));
        guard.Run({plugin}, [&] {
            const QByteArray bytes = ReadSourceFile(source, plugin->GetSourceByteLimit());
            if (bytes.isEmpty())
                return;
            ClearConversionLog(plugin);
            QDir::setCurrent(CLocalFileInfo(source).GetDirPath());
            document.reset(plugin->Import(bytes));
            if (document)
                document->SetName(source);
        });
    }
    *parameters =
        ParameterFitting::PrepareWorkingSet(record, ChoicesOf(record), m_Host.GetCurrentProfile(), document.get());
}

void COrvEngine::SaveParamsAsked(QString path, CParameters* parameters)
{
    QString reason;
    if (parameters && parameters->Save(path, &reason))
        return;
    const QString text = WithFailureReason(Message("id_param_saved_failed", path), reason);
    m_Host.Log(text + QLatin1Char('\n'));
    m_Host.Report(0, Message(QStringLiteral("id_warning")), text);
}

// A position outside the list that a panel sends fails like a file that cannot be loaded: with a warning.
void COrvEngine::LoadParamsAsked(int converter, QString path)
{
    CPluginClass* record = PluginClassAt(m_Host.GetConverterList(m_Host.GetCurrentProfile()), converter);
    QString reason;
    if (!LoadUserParameters(record, ChoicesOf(record), path, reason))
        ReportParameterFileRefused(m_Host, path, reason);
}

void COrvEngine::LoadDefaultParamsAsked(int converter)
{
    CPluginClass* record = PluginClassAt(m_Host.GetConverterList(m_Host.GetCurrentProfile()), converter);
    if (!LoadDefaultParameters(record, ChoicesOf(record)))
        m_Host.Report(0, Message(QStringLiteral("id_warning")), Message(QStringLiteral("id_converter_unavailable")));
}

void COrvEngine::LoadTraductorParamsAsked(int translator, QString path)
{
    CPluginClass* record = PluginClassAt(m_Host.GetTraductorList(m_Host.GetCurrentProfile()), translator);
    QString reason;
    if (!LoadUserParameters(record, ChoicesOf(record), path, reason))
        ReportParameterFileRefused(m_Host, path, reason);
}

void COrvEngine::LoadDefaultTraductorParamsAsked(int translator)
{
    CPluginClass* record = PluginClassAt(m_Host.GetTraductorList(m_Host.GetCurrentProfile()), translator);
    if (!LoadDefaultParameters(record, ChoicesOf(record)))
        m_Host.Report(0, Message(QStringLiteral("id_warning")), Message(QStringLiteral("id_converter_unavailable")));
}
