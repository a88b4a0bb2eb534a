#include "AnimationDescription.h"

#include "Documents/CDocumentAnimation.h"
#include "Import/DescriptionFrames.h"
#include "Import/ImportLimits.h"
#include "Import/PictureImport.h"
#include "Import/SourceNamedFiles.h"
#include "Plugin/CRunFiles.h"

#include <QHash>
#include <memory>

namespace {
DescriptionFailure::Kind FailureOf(PictureImport::Result result)
{
    switch (result) {
    case PictureImport::NotAFile:
        return DescriptionFailure::FileUnreadable;
    case PictureImport::EmptyPicture:
        return DescriptionFailure::EmptyPicture;
    case PictureImport::TooLargeToDecode:
        return DescriptionFailure::FrameTooLarge;
    default:
        return DescriptionFailure::NotAPicture;
    }
}
} // namespace

CDocumentAnimation* ReadAnimationDescription(const QByteArray& bytes, DescriptionFailure* failure,
                                             const CRunFiles* runFiles)
{
    DescriptionFailure unused;
    DescriptionFailure& why = failure ? *failure : unused;
    why = DescriptionFailure();
    QList<DescriptionFrames::CFrame> frames;
    switch (DescriptionFrames::List(bytes, frames)) {
    case DescriptionFrames::NotXml:
        why.kind = DescriptionFailure::NotXml;
        return nullptr;
    case DescriptionFrames::EntityTooLong:
        why.kind = DescriptionFailure::EntityTooLong;
        return nullptr;
    case DescriptionFrames::TooManyAttributes:
        why.kind = DescriptionFailure::TooManyAttributes;
        return nullptr;
    case DescriptionFrames::DefaultsTooLarge:
        why.kind = DescriptionFailure::DefaultsTooLarge;
        return nullptr;
    case DescriptionFrames::TooManyFrames:
        why.kind = DescriptionFailure::TooManyFrames;
        return nullptr;
    case DescriptionFrames::TooLarge:
        why.kind = DescriptionFailure::TooLarge;
        why.bytes = bytes.size();
        return nullptr;
    case DescriptionFrames::Listed:
        break;
    }

    auto animation = std::make_unique<CDocumentAnimation>();
    // Frames that name one file share its decoded picture (a picture's pixels are shared until changed): a
    // description naming one picture a thousand times holds it once.
    QHash<QString, QImage> decoded;
    qint64 totalBytes = 0;
    for (const DescriptionFrames::CFrame& frame : frames) {
        why.frame = frame.position;
        why.path = frame.path;
        QImage image = decoded.value(frame.path);
        if (image.isNull()) {
            why.reason = CRunFiles::NamedFileRefusal(runFiles, frame.path);
            if (!why.reason.isEmpty()) {
                why.kind = DescriptionFailure::FileUnreadable;
                return nullptr;
            }
            QSize size;
            const PictureImport::Result loaded = PictureImport::LoadFromFile(frame.path, image, &why.reason, &size);
            if (loaded != PictureImport::Loaded) {
                why.kind = FailureOf(loaded);
                why.width = size.width();
                why.height = size.height();
                return nullptr;
            }
            decoded.insert(frame.path, image);
        }
        // The budget counts every frame: a converter may give each one pixels of its own.
        totalBytes += image.sizeInBytes();
        if (totalBytes > ImportLimits::MaxAnimationBytes) {
            why.kind = DescriptionFailure::OverFramesBudget;
            why.bytes = totalBytes;
            return nullptr;
        }
        animation->AppendFrame(image, frame.displayTime);
    }
    // No usable frame is no failure here: the converters refuse an empty animation with their own message.
    why = DescriptionFailure();
    return animation.release();
}

QStringList DescriptionPictureFiles(const QByteArray& bytes, const QString& folder)
{
    QList<DescriptionFrames::CFrame> frames;
    QStringList files;
    if (DescriptionFrames::List(bytes, frames) != DescriptionFrames::Listed)
        return files;
    for (const DescriptionFrames::CFrame& frame : frames)
        files.append(SourceNamedFiles::PathIn(folder, frame.path));
    files.removeDuplicates();
    return files;
}
