#include "CMediaLoader.h"
#include "CEngineHost.h"
#include "CEngineState.h"
#include "CResultFiles.h"
#include "CRunFilesHandOver.h"
#include "Documents/CDocumentAnimation.h"
#include "Documents/CDocumentPicture.h"
#include "EngineSupport.h"
#include "FailedSource.h"
#include "Host/CLocalFileInfo.h"
#include "Host/CPluginClass.h"
#include "Host/SourceReader.h"
#include "Parameters/CProfile.h"
#include "Plugin/CPluginBase.h"
#include "Util/Assert.h"
#include "Wave/CDocumentWave.h"
#include <QDir>
#include <QFileInfo>
#include <memory>

CMediaLoader::CMediaLoader(CEngineHost& host, CEngineState& state) : m_Host(host), m_State(state) {}

B32 CMediaLoader::LoadMedia(const QString& path, int converterIndex)
{
    m_State.DiscardLoadedDocument();
    CPluginClass* record = PluginClassAt(m_Host.GetConverterList(m_Host.GetCurrentProfile()), converterIndex);
    CPluginBase* converter = record ? record->GetConverter() : nullptr;
    ASSERT(path.isEmpty() == (0));
    if (!converter) {
        m_Host.Report(0, Message("id_warning"), Message("id_converter_unavailable"));
        return 0;
    }

    const CLocalFileInfo info(path);
    // The importer a batch or command-line run would take for this source and converter.
    const CSourceReader reader = ReaderFor(m_Host.GetPluginManager(), converter, path);
    ASSERT(reader.plugin != nullptr);
    // No importer: nothing to read or load (the panels offer only importable extensions).
    if (!reader.plugin) {
        m_Host.Report(0, Message("id_warning"), Message("id_select_importer_failed", path));
        return 0;
    }
    CPluginBase* importer = reader.plugin;

    m_Host.Log(Message("id_opening_file", path) + QLatin1Char('\n'));
    QString reason;
    const QByteArray bytes = ReadSourceFile(path, reader.byteLimit, &reason);
    if (bytes.isEmpty()) {
        ReportFailedSource(m_Host, Message("id_warning"), CFailedStep::READ, path, reason);
        return 0;
    }
    m_Host.Log(Message("id_importing") + QLatin1Char('\n'));
    ClearConversionLog(importer);
    // Importers open files named relative to their source (animation frames), never the run's own.
    const CRunFiles runFiles = WindowRunFiles(m_Host, path, record);
    QDir::setCurrent(info.GetDirPath());
    std::unique_ptr<CDocument> document;
    {
        const CRunFilesHandOver handOver(runFiles, {importer});
        document.reset(importer->Import(bytes));
    }
    if (!document) {
        ReportFailedSource(m_Host, Message("id_import_failed"), CFailedStep::READ, path, importer);
        return 0;
    }
    m_Host.LogConversionLog(importer);
    const QString detail = importer->GetConversionLog()->GetDetailedText();
    document->SetName(path);
    m_State.mpLoadedDocument = document.release();
    m_State.mpLoadedImporter = importer;
    if (!detail.isEmpty())
        m_Host.Report(0, Message("id_import_warning"), WithoutFinalLineFeed(detail));
    return 1;
}

QStringList CMediaLoader::GetPreviewFileList(int& type, const QString& base, int converterIndex)
{
    QStringList names;
    CPluginBase* converter = ConverterAt(m_Host.GetConverterList(m_Host.GetCurrentProfile()), converterIndex);
    if (!converter)
        return names;
    const QString middle = converter->GetExportExtension();
    type = converter->GetPreviewDocumentType();
    const int kind = CResultFiles::GetPreviewKind(type);
    if (kind == CResultFiles::NO_PREVIEW)
        return names;
    for (int number = 0;; ++number) {
        const QString name = CResultFiles::MakePreviewFileName(base, kind, middle, number);
        if (!QFileInfo::exists(name))
            break;
        names.append(name);
        if (kind != CResultFiles::ANIMATION_PREVIEW)
            break;
    }
    return names;
}

B32 CMediaLoader::LoadPreview(const QStringList& names, int type)
{
    const int kind = CResultFiles::GetPreviewKind(type);
    m_State.DiscardLoadedDocument();
    m_State.DiscardResult();
    if (names.isEmpty() || kind == CResultFiles::NO_PREVIEW)
        return 0;

    if (kind == CResultFiles::PICTURE_PREVIEW) {
        QImage image;
        if (image.load(names.first()) && !image.isNull())
            m_State.mpPreviewDocument = new CDocumentPicture(image.copy());
    } else if (kind == CResultFiles::ANIMATION_PREVIEW) {
        CProfile* profile = m_Host.GetCurrentProfile();
        const int displayTime = profile ? profile->GetDefaultDisplayTime() : CAnimationFrame::DEFAULT_DISPLAY_TIME;
        auto animation = std::make_unique<CDocumentAnimation>();
        for (const QString& name : names) {
            QImage image;
            if (!image.load(name))
                return 0;
            animation->AppendFrame(image, displayTime);
        }
        m_State.mpPreviewDocument = animation.release();
    } else {
        // The player plays the named file; the document only proves it is a wave.
        auto wave = std::make_unique<CDocumentWave>(names.first());
        const QByteArray bytes = ReadSourceFile(names.first(), FileLimits::MaxMediaSourceBytes);
        int error = 0;
        WAVEHEADER header;
        unsigned int dataOffset = 0;
        if (!bytes.isEmpty() && CDocumentWave::ReadHeader(bytes, error, header, dataOffset))
            m_State.mpPreviewDocument = wave.release();
    }
    return m_State.mpPreviewDocument ? 1 : 0;
}
