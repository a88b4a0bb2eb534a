#include "CBatchRun.h"
#include "CEngineHost.h"
#include "CEngineState.h"
#include "CMainWindowLink.h"
#include "COrvEngine.h"
#include "CProgressPopup.h"
#include "CResultFiles.h"
#include "CRunFilesHandOver.h"
#include "CSourceGuard.h"
#include "Core/CBatchInfo.h"
#include "Documents/CDocument.h"
#include "EngineSupport.h"
#include "FailedSource.h"
#include "Host/CLocalFileInfo.h"
#include "Host/CPluginClass.h"
#include "Host/SourceReader.h"
#include "ParameterFitting.h"
#include "Parameters/CParameters.h"
#include "Parameters/CProfile.h"
#include "Plugin/CPluginBase.h"
#include "Util/Assert.h"
#include "Util/SafeFileWrite.h"
#include <QDir>
#include <QFileInfo>
#include <memory>

namespace {

// Answers of the batch's overwrite question.
enum
{
    YES_TO_ALL = 0,
    NO = 1,
    CANCEL = 2
};

// One spelling per file, links followed, so that two names of one file are seen as one.
QString FileKey(const QString& path)
{
    const QFileInfo info(path);
    const QString file = info.canonicalFilePath();
    if (!file.isEmpty())
        return file;
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (!folder.isEmpty())
        return folder + QLatin1Char('/') + info.fileName();
    return QDir::cleanPath(info.absoluteFilePath());
}

} // namespace

CBatchRun::CBatchRun(COrvEngine& engine) : m_Host(engine.Host()), m_State(engine.State()), m_Engine(engine) {}

bool CBatchRun::Running() const
{
    return !m_Stop && m_State.mCancelFlag == 0;
}

B32 CBatchRun::Run(const CBatchInfoList* list, B32 savePreview)
{
    m_SavePreview = savePreview;
    const QList<CPluginClass*> entireList = m_Host.GetEntireList(m_Host.GetCurrentProfile());
    m_State.DiscardResult();
    const bool window = !m_Host.IsCommandLineMode();
    CProgressPopup popup(m_Engine);
    popup.Show();
    m_State.mCancelFlag = 0;
    m_State.mpRunningConverter = nullptr;
    if (window) {
        popup.OfferCancel(true);
        m_Host.Log(Message("id_launching") + QLatin1Char('\n'));
    }

    const int count = list ? list->count() : 0;
    // Taken before any source moves the current folder, so relative names mean what they meant to the caller.
    m_RunFiles = CRunFiles();
    for (int i = 0; i < count; ++i) {
        for (const QString& source : list->at(i)->GetSourceFileList())
            m_RunFiles.Add(CRunFiles::SOURCE, source);
        m_RunFiles.Add(CRunFiles::PARAMETER_FILE, list->at(i)->GetParametersFileName());
    }
    m_RunFiles.Add(CRunFiles::RUN_LOG, m_Host.GetLogFilePath());
    for (int i = 0; i < count && Running(); ++i)
        RunEntry(*list->at(i), entireList);

    B32 result = 1;
    if (count == 0) {
        result = 0;
        m_Host.Report(0, Message("id_warning"), Message("id_no_valid_conversion"));
    }
    if (window) {
        popup.WithdrawCancel(true);
        popup.Hide();
    }
    if (count != 0 && m_Failure) {
        result = 0;
        // The log is named with its folder: the user may not know which folder the program was started in.
        if (window) {
            const QString log = m_Host.GetLogFilePath();
            m_Host.Report(0, Message("id_launch_failed0"),
                          Message("id_launch_failed1", log.isEmpty() ? m_Host.GetLogFileName() : log));
        }
    }
    return result;
}

void CBatchRun::RunEntry(const CBatchInfo& entry, const QList<CPluginClass*>& entireList)
{
    const int index = entry.GetConverterIndex();
    if (index < 0 || index >= entireList.size()) {
        m_Host.Log(Message("id_batch_entry_invalid").arg(index) + QLatin1Char('\n'));
        m_Failure = true;
        return;
    }
    CPluginClass* record = entireList.at(index);
    CPluginBase* converter = record->GetConverter();
    // Never the set the media tab's form edits: the default set as it was loaded at start-up.
    CParameters* parameters = record->GetStartupParameters();
    bool fromFile = false;
    std::unique_ptr<CParameters> loaded;
    const QString parameterFile = entry.GetParametersFileName();
    if (!parameterFile.isEmpty()) {
        loaded = std::make_unique<CParameters>();
        if (loaded->Load(parameterFile)) {
            parameters = loaded.get();
            fromFile = true;
        } else {
            m_Host.Log(FailedParameterFileLines(parameterFile, ParameterFileRefusal(*loaded)) + QLatin1Char('\n'));
            m_Failure = true;
        }
    }
    // The file's values (the default file's, without one) stay as far as the phone allows; the log says where
    // it did not.
    for (const CPhoneChange& change : ParameterFitting::FitToPhone(converter, parameters, m_Host.GetCurrentProfile()))
        m_Host.Log(ParameterFitting::LogLine(change));
    const QStringList sources = entry.GetSourceFileList();
    const QString destination = entry.GetDestPath();
    for (int i = 0; i < sources.size() && Running(); ++i)
        RunSource(sources.at(i), converter, parameters, !fromFile, destination);
}

void CBatchRun::RunSource(const QString& source, CPluginBase* converter, CParameters* parameters, bool fitToSource,
                          const QString& destination)
{
    // A source too large for the memory left fails alone, and the run goes on; the summary says it failed.
    CSourceGuard guard(m_Engine, source);
    if (!guard.Run({converter}, [&] { ConvertSource(source, converter, parameters, fitToSource, destination); }))
        m_Failure = true;
}

void CBatchRun::ConvertSource(const QString& source, CPluginBase* converter, CParameters* parameters,
                              bool fitToSource, const QString& destination)
{
    const CLocalFileInfo info(source);
    const QString folder = info.GetDirPath();
    const CSourceReader reader = ReaderFor(m_Host.GetPluginManager(), converter, source);
    CPluginBase* importer = reader.plugin;
    if (!importer) {
        m_Host.Log(Message("id_select_importer_failed", source) + QLatin1Char('\n'));
        m_Failure = true;
        return;
    }

    m_Host.Log(Message("id_opening_file", source) + QLatin1Char('\n'));
    QString reason;
    QByteArray bytes = ReadSourceFile(source, reader.byteLimit, &reason);
    if (bytes.isEmpty()) {
        ReportFailedSource(m_Host, QString(), CFailedStep::READ, source, reason);
        m_Failure = true;
        return;
    }
    m_Host.Log(Message("id_importing") + QLatin1Char('\n'));
    ClearConversionLog(importer);
    // The converters know the run's own files while they work on this source, and only then.
    m_RunFiles.SetCurrentSource(source);
    const CRunFilesHandOver handOver(m_RunFiles, {importer, converter});
    // Relative references inside the source resolve against its folder.
    QDir::setCurrent(folder);
    std::unique_ptr<CDocument> document(importer->Import(bytes));
    bytes.clear();
    if (!document) {
        ReportFailedSource(m_Host, QString(), CFailedStep::READ, source, importer);
        m_Failure = true;
        return;
    }
    m_Host.LogConversionLog(importer);
    document->SetName(source);

    // The default set takes this source's tempo, style and the like, as the media tab's form does.
    if (fitToSource) {
        ParameterFitting::FitToPhone(converter, parameters, m_Host.GetCurrentProfile());
        ParameterFitting::FitToDocument(converter, parameters, document.get());
    }
    ClearConversionLog(converter);
    converter->SetProfile(m_Host.GetCurrentProfile());
    converter->SetParameters(parameters);
    QObject::connect(converter, &CPluginBase::SetProgress, &m_Engine, &COrvEngine::ProgressForBatch);
    m_State.mConvertedDocumentName = document->GetName();

    ConvertAndSave(converter, importer, document.get(), source, destination);

    document.reset();
    QObject::disconnect(converter, &CPluginBase::SetProgress, &m_Engine, &COrvEngine::ProgressForBatch);
    if (m_State.mpWindow)
        m_State.mpWindow->InitProgressBar();
}

void CBatchRun::ConvertAndSave(CPluginBase* converter, CPluginBase* importer, CDocument* document,
                               const QString& source, const QString& destination)
{
    CProfile* profile = m_Host.GetCurrentProfile();
    // A translator reads its own sources: what fails in it is the source's translation, as in the SMS tab.
    const CFailedStep step = importer == converter ? CFailedStep::TRANSLATE : CFailedStep::CONVERT;
    if (converter->IsCompatibleWithProfile(profile) != 1) {
        ReportFailedSource(m_Host, QString(), step, source,
                           Message("id_profile_not_compatible", profile ? profile->GetMobileName() : QString()));
        m_Failure = true;
        return;
    }
    if (converter->IsCancelable())
        m_State.mpRunningConverter = converter;
    DiscardConverterOutput(converter);
    const bool converted = converter->Convert(document);
    if (converted) {
        m_Host.LogConversionLog(converter);
        m_Host.Log(Message("id_convertion_success") + QLatin1Char('\n'));
        const QString baseName = ShortBaseName(source);
        WriteChunks(converter, importer, destination, baseName, source);
        if (m_Write && m_SavePreview == 1) {
            std::unique_ptr<CDocument> preview(converter->TakePreviewDocument());
            const QString middle = converter->GetExportExtension();
            CResultFiles files(m_Host);
            files.SetNameGuard([this, &source](const QString& name) { return ClaimName(name, source); });
            if (!files.SaveResult(preview.get(), destination + QLatin1Char('/') + baseName, middle))
                m_Failure = true;
        }
    } else if (m_State.mCancelFlag == 0) {
        ReportFailedSource(m_Host, QString(), step, source, converter);
        m_Failure = true;
    }
    DiscardConverterOutput(converter);
    m_State.mpRunningConverter = nullptr;
}

bool CBatchRun::MayWrite(const QString& path)
{
    if (m_YesToAll || !QFileInfo::exists(path) || m_Host.IsCommandLineMode())
        return true;
    const int answer = m_Host.GetUserPrompt().Ask(
        Message("id_warning"), Message("id_already_exists", path),
        {Message("id_yes_to_all_caption"), Message("id_no_caption"), Message("id_cancel_caption")}, NO, NO);
    if (answer == YES_TO_ALL) {
        m_YesToAll = true;
        return true;
    }
    if (answer == CANCEL)
        m_Stop = true;
    return false;
}

QString CBatchRun::NameConflict(const QString& path, const QString& source) const
{
    if (const CRunFiles::CFile* own = m_RunFiles.Find(path)) {
        if (own->role == CRunFiles::RUN_LOG)
            return Message("id_result_is_logfile", path, source);
        if (own->role == CRunFiles::PARAMETER_FILE)
            return Message("id_result_is_parameter_file", path, source);
        return Message("id_result_is_source", path, own->name, source);
    }
    const auto earlier = m_Written.constFind(FileKey(path));
    if (earlier != m_Written.constEnd())
        return Message("id_result_name_taken", path, earlier.value(), source);
    return QString();
}

bool CBatchRun::ClaimName(const QString& path, const QString& source)
{
    const QString conflict = NameConflict(path, source);
    if (!conflict.isEmpty()) {
        m_Host.Log(conflict + QLatin1Char('\n'));
        m_Failure = true;
        return false;
    }
    m_Written.insert(FileKey(path), source);
    return true;
}

void CBatchRun::WriteChunks(CPluginBase* converter, CPluginBase* importer, const QString& destination,
                            const QString& baseName, const QString& source)
{
    m_Write = true;
    const QList<QByteArray> chunks = converter->GetRawDataList();
    const int count = int(chunks.size());
    const QString extension = converter->GetExportExtension();
    CProfile* profile = m_Host.GetCurrentProfile();
    // A source of this run, its run log and a result of an earlier source are never replaced: a source whose
    // names clash writes nothing.
    bool clash = false;
    for (int i = 0; i < count; ++i) {
        const QString conflict = NameConflict(MakeChunkFileName(destination, baseName, i, count, extension), source);
        if (!conflict.isEmpty()) {
            m_Host.Log(conflict + QLatin1Char('\n'));
            clash = true;
        }
    }
    if (clash) {
        m_Failure = true;
        m_Write = false;
        return;
    }
    for (int i = 0; i < count && !m_Stop; ++i) {
        ASSERT(destination.isEmpty() == (0));
        const QString path = MakeChunkFileName(destination, baseName, i, count, extension);
        if (i == 0)
            m_Write = MayWrite(path);
        if (!m_Write)
            continue;
        m_Written.insert(FileKey(path), source);
        const QByteArray& chunk = chunks.at(i);
        // A translator's messages have their own limits.
        if (importer != converter && profile && uint32_t(chunk.size()) > uint32_t(profile->GetMaxMediaSize())) {
            m_Host.Log(Message("id_warning_media_toobig", path, profile->GetMobileName()) + QLatin1Char('\n'));
            m_Failure = true;
        }
        m_Host.Log(Message("id_saving_file", path) + QLatin1Char('\n'));
        QString reason;
        if (!WriteBytesSafely(path, chunk, &reason)) {
            m_Host.Log(Message("id_saving_failed_because", path, reason) + QLatin1Char('\n'));
            m_Failure = true;
        }
    }
}
