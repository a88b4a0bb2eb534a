#include "CSmsTranslation.h"
#include "CEngineHost.h"
#include "CEngineState.h"
#include "CMainWindowLink.h"
#include "COrvEngine.h"
#include "CProgressPopup.h"
#include "CResultFiles.h"
#include "CRunFilesHandOver.h"
#include "CSourceGuard.h"
#include "Core/CGenerationInfo.h"
#include "Documents/CDocument.h"
#include "EngineSupport.h"
#include "FailedSource.h"
#include "Host/CLocalFileInfo.h"
#include "Host/CPluginClass.h"
#include "Parameters/CProfile.h"
#include "Plugin/CPluginBase.h"
#include "Util/Assert.h"
#include "Util/SafeFileWrite.h"
#include <QDir>
#include <memory>

CSmsTranslation::CSmsTranslation(COrvEngine& engine) : m_Host(engine.Host()), m_State(engine.State()), m_Engine(engine)
{}

QString CSmsTranslation::MakeOutputFileName(const CGenerationInfo& info, const QString& outputName, int index,
                                            int count, const QString& extension)
{
    const QString sourceBase = ShortBaseName(info.GetSourcePath());
    if (outputName.isEmpty())
        return MakeChunkFileName(info.GetDestPath(), sourceBase, index, count, extension);
    const CLocalFileInfo output(outputName);
    // A name without a file part ("folder/") would give hidden files named by the extension alone.
    QString base = output.GetBaseName(false);
    if (base.isEmpty())
        base = sourceBase;
    return MakeChunkFileName(output.GetDirPath(), base, index, count, extension);
}

void CSmsTranslation::Run(const CGenerationInfo& info, const QString& outputName)
{
    CPluginClass* record = PluginClassAt(m_Host.GetTraductorList(m_Host.GetCurrentProfile()), info.mConverterIndex);
    CPluginBase* translator = record ? record->GetConverter() : nullptr;
    if (!translator) {
        m_Host.Report(0, Message("id_translation_failed"), Message("id_converter_unavailable"));
        return;
    }
    CProgressPopup popup(m_Engine);
    popup.Show();
    m_Host.Log(Message("id_translating") + QLatin1Char('\n'));
    CSourceGuard guard(m_Engine, info.GetSourcePath(), Message("id_translation_failed"));
    guard.Run({translator}, [&] { Translate(*record, info, outputName); });
    popup.Hide();
}

void CSmsTranslation::Translate(CPluginClass& record, const CGenerationInfo& info, const QString& outputName)
{
    CPluginBase* translator = record.GetConverter();
    const QString source = info.GetSourcePath();
    m_Host.Log(Message("id_opening_file", source) + QLatin1Char('\n'));
    // The translator reads its own sources, within its own limit.
    QString reason;
    const QByteArray bytes = ReadSourceFile(source, translator->GetSourceByteLimit(), &reason);
    if (bytes.isEmpty()) {
        ReportFailedSource(m_Host, Message("id_warning"), CFailedStep::READ, source, reason);
        return;
    }
    m_Host.Log(Message("id_importing") + QLatin1Char('\n'));
    ClearConversionLog(translator);
    // The translator knows the run's own files while it reads the source and its items and while it works.
    const CRunFiles runFiles = WindowRunFiles(m_Host, source, &record);
    const CRunFilesHandOver handOver(runFiles, {translator});
    // The items of an e-card are named relative to it.
    QDir::setCurrent(CLocalFileInfo(source).GetDirPath());
    std::unique_ptr<CDocument> document(translator->Import(bytes));
    if (!document) {
        ReportFailedSource(m_Host, Message("id_import_failed"), CFailedStep::READ, source, translator);
        return;
    }
    m_Host.LogConversionLog(translator);
    document->SetName(source);

    ClearConversionLog(translator);
    CProfile* profile = m_Host.GetCurrentProfile();
    m_Engine.FitFormSetForRun(&record, info.mpParameters, document.get());
    translator->SetProfile(profile);
    translator->SetParameters(info.mpParameters);
    QObject::connect(translator, &CPluginBase::SetProgress, &m_Engine, &COrvEngine::ProgressForTranslation);
    m_State.mConvertedDocumentName = document->GetName();

    if (translator->IsCompatibleWithProfile(profile) != 1) {
        ReportFailedSource(m_Host, Message("id_convert_failed"), CFailedStep::TRANSLATE, source,
                           Message("id_profile_not_compatible", profile ? profile->GetMobileName() : QString()));
    } else {
        DiscardConverterOutput(translator);
        if (translator->Convert(document.get())) {
            m_Host.LogConversionLog(translator);
            m_Host.Log(Message("id_convertion_success") + QLatin1Char('\n'));
            WriteChunks(translator, info, outputName);
        } else {
            // The translator reads an e-card's content and its items only here: what it refuses names the file.
            ReportFailedSource(m_Host, Message("id_translation_failed"), CFailedStep::TRANSLATE, source, translator);
        }
        DiscardConverterOutput(translator);
    }

    document.reset();
    QObject::disconnect(translator, &CPluginBase::SetProgress, &m_Engine, &COrvEngine::ProgressForTranslation);
    if (m_State.mpWindow)
        m_State.mpWindow->InitProgressBar();
}

void CSmsTranslation::WriteChunks(CPluginBase* translator, const CGenerationInfo& info, const QString& outputName)
{
    // A copy: the overwrite question runs the event loop.
    const QList<QByteArray> chunks = translator->GetRawDataList();
    const int count = int(chunks.size());
    CResultFiles files(m_Host);
    for (int i = 0; i < count; ++i) {
        if (outputName.isEmpty())
            ASSERT(info.GetDestPath().isEmpty() == (0));
        const QString path = MakeOutputFileName(info, outputName, i, count, translator->GetExportExtension());
        // The answer for the first file holds for every message.
        if (i == 0 && !files.AskOverwrite(path))
            return;
        m_Host.Log(Message("id_saving_file", path) + QLatin1Char('\n'));
        QString reason;
        if (!WriteBytesSafely(path, chunks.at(i), &reason))
            files.ReportFailedSave(path, reason);
    }
}
