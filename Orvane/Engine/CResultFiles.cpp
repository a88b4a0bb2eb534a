#include "CResultFiles.h"
#include "CEngineHost.h"
#include "Documents/CDocumentAnimation.h"
#include "Documents/CDocumentPicture.h"
#include "EngineSupport.h"
#include "Parameters/CProfile.h"
#include "Util/SafeFileWrite.h"
#include "Wave/CDocumentWave.h"
#include <QFileInfo>

namespace {

enum
{
    YES = 0,
    NO = 1
};

} // namespace

CResultFiles::CResultFiles(CEngineHost& host) : m_Host(host) {}

B32 CResultFiles::AskOverwrite(const QString& path)
{
    if (!QFileInfo::exists(path) || m_Host.IsCommandLineMode())
        return 1;
    const int answer = m_Host.GetUserPrompt().Ask(Message("id_warning"), Message("id_already_exists", path),
                                                  {Message("id_yes_caption"), Message("id_no_caption")}, NO, NO);
    return answer == YES ? 1 : 0;
}

B32 CResultFiles::ConfirmMediaSize(CProfile* profile, const QString& file, uint32_t size)
{
    if (!profile || size <= uint32_t(profile->GetMaxMediaSize()) || m_Host.IsCommandLineMode())
        return 1;
    const int answer =
        m_Host.GetUserPrompt().Ask(Message("id_warning"), Message("id_media_toobig", file, profile->GetMobileName()),
                                   {Message("id_yes_caption"), Message("id_no_caption")}, NO, NO);
    return answer == YES ? 1 : 0;
}

int CResultFiles::GetPreviewKind(int documentType)
{
    switch (documentType) {
    case CDocument::PICTURE:
        return PICTURE_PREVIEW;
    case CDocument::ANIMATION:
        return ANIMATION_PREVIEW;
    case CDocument::WAVE:
        return WAVE_PREVIEW;
    default:
        return NO_PREVIEW;
    }
}

QString CResultFiles::MakePreviewFileName(const QString& base, int kind, const QString& middle, int number)
{
    QString name = base + QStringLiteral("_preview") + middle;
    if (kind == ANIMATION_PREVIEW)
        name += QStringLiteral("_%1").arg(number);
    return name + (kind == WAVE_PREVIEW ? QStringLiteral(".WAV") : QStringLiteral(".BMP"));
}

bool CResultFiles::SavePreviewFile(const QString& name,
                                   const std::function<bool(const QString&, QString* reason)>& save)
{
    if (m_NameGuard && !m_NameGuard(name))
        return false;
    m_Host.Log(Message("id_saving_file", name) + QLatin1Char('\n'));
    QString reason;
    if (save(name, &reason))
        return true;
    ReportFailedSave(name, reason);
    return false;
}

void CResultFiles::ReportFailedSave(const QString& file, const QString& reason)
{
    m_Host.Log(Message("id_saving_failed_because", file, reason) + QLatin1Char('\n'));
    m_Host.Report(0, Message("id_warning"), Message("id_failed_to_save", file, reason));
}

B32 CResultFiles::SaveResult(CDocument* preview, const QString& base, const QString& middle)
{
    if (!preview)
        return 1;
    // The type names the document's class; it was made by the same SDK classes in the plug-in.
    switch (preview->GetDocType()) {
    case CDocument::WAVE: {
        auto* wave = static_cast<CDocumentWave*>(preview);
        return SavePreviewFile(MakePreviewFileName(base, WAVE_PREVIEW, middle, 0),
                               [wave](const QString& file, QString* reason) {
                                   return WriteFileSafely(
                                       file, [wave](const QString& temporary) { return wave->SaveInputWave(temporary); },
                                       reason);
                               });
    }
    case CDocument::PICTURE: {
        const auto* picture = static_cast<CDocumentPicture*>(preview);
        return SavePreviewFile(MakePreviewFileName(base, PICTURE_PREVIEW, middle, 0),
                               [picture](const QString& file, QString* reason) { return picture->Save(file, reason); });
    }
    case CDocument::ANIMATION: {
        const auto* animation = static_cast<CDocumentAnimation*>(preview);
        for (int frame = 0; frame < animation->GetAnimationFrameCount(); ++frame) {
            if (!SavePreviewFile(MakePreviewFileName(base, ANIMATION_PREVIEW, middle, frame),
                                 [animation, frame](const QString& file, QString* reason) {
                                     return animation->SaveFrame(file, frame, reason);
                                 }))
                return 0;
        }
        return 1;
    }
    default:
        return 1;
    }
}
