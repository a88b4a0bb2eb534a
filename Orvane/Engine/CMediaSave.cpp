#include "CMediaSave.h"
#include "CEngineHost.h"
#include "CEngineState.h"
#include "CResultFiles.h"
#include "Documents/CDocumentAbstract.h"
#include "EngineSupport.h"
#include "Plugin/CPluginBase.h"
#include "Util/Assert.h"
#include "Util/SafeFileWrite.h"

CMediaSave::CMediaSave(CEngineHost& host, CEngineState& state) : m_Host(host), m_State(state) {}

bool CMediaSave::Save(B32 savePreview, const QString& folder, const QString& sourceName)
{
    CPluginBase* converter = m_State.mpResultConverter;
    if (!m_State.mpLoadedDocument || !converter)
        return false;
    const QString name = sourceName.isEmpty() ? m_State.mpLoadedDocument->GetName() : sourceName;
    const QString baseName = ShortBaseName(name);
    const QString extension = converter->GetExportExtension();
    CResultFiles files(m_Host);

    // A copy: the questions below run the event loop.
    const QList<QByteArray> chunks = converter->GetRawDataList();
    const int count = int(chunks.size());
    bool written = true;
    for (int i = 0; i < count; ++i) {
        const QByteArray& chunk = chunks.at(i);
        ASSERT(folder.isEmpty() == (0));
        const QString file = MakeChunkFileName(folder, baseName, i, count, extension);
        if (m_State.mpResultDocument)
            m_State.mpResultDocument->SetName(file);
        // The answers for the first file hold for the whole result.
        if (i == 0
            && (!files.AskOverwrite(file)
                || !files.ConfirmMediaSize(m_Host.GetCurrentProfile(), file, uint32_t(chunk.size()))))
            return false;
        m_Host.Log(Message("id_saving_file", file) + QLatin1Char('\n'));
        QString reason;
        if (!WriteBytesSafely(file, chunk, &reason)) {
            files.ReportFailedSave(file, reason);
            written = false;
        }
    }
    if (savePreview == 1
        && !files.SaveResult(m_State.mpPreviewDocument, folder + QLatin1Char('/') + baseName, extension))
        written = false;
    return written;
}
