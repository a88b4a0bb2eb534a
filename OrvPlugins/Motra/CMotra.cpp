#include "CMotra.h"

#include "AnimationDescription.h"

#include "Documents/CDocumentAnimation.h"
#include "Import/ImportLimits.h"
#include "Import/SourceNamedFiles.h"
#include "Util/BoundedFileRead.h"
#include "Xml/XmlAttributeCount.h"

CDocument* CMotra::Import(const QByteArray& rawData)
{
    DescriptionFailure failure;
    CDocumentAnimation* animation = ReadAnimationDescription(rawData, &failure, GetRunFiles());
    if (animation)
        return animation;
    // A frame that spoils the description is named, with what is wrong with it.
    const QString frame = QString::number(failure.frame);
    switch (failure.kind) {
    case DescriptionFailure::FileUnreadable:
        ReportMessage("id_frame_unreadable", frame, failure.path, Reason{failure.reason});
        break;
    case DescriptionFailure::NotAPicture:
        ReportMessage("id_frame_not_a_picture", frame, failure.path);
        break;
    case DescriptionFailure::EmptyPicture:
        ReportMessage("id_frame_empty_picture", frame, failure.path);
        break;
    case DescriptionFailure::FrameTooLarge:
        ReportMessage("id_frame_too_large", frame, failure.path, QString::number(failure.width),
                      QString::number(failure.height));
        break;
    case DescriptionFailure::TooManyAttributes:
        ReportMessage("id_too_many_attributes", QString::number(XmlAttributeCount::MaxPerElement));
        break;
    case DescriptionFailure::EntityTooLong:
        ReportMessage("id_description_entity_too_long", QString::number(XmlAttributeCount::EntityExpansionLimit()));
        break;
    case DescriptionFailure::DefaultsTooLarge:
        ReportMessage("id_description_defaults_too_large", QString::number(FileLimits::MaxXmlBytes));
        break;
    case DescriptionFailure::TooLarge:
        ReportMessage("id_description_too_large", QString::number(failure.bytes),
                      QString::number(FileLimits::MaxXmlBytes));
        break;
    case DescriptionFailure::TooManyFrames:
        ReportMessage("id_too_many_frames", QString::number(ImportLimits::MaxAnimationFrames));
        break;
    case DescriptionFailure::OverFramesBudget:
        ReportMessage("id_frames_too_large", frame, failure.path,
                      QString::number(ImportLimits::MegabytesRoundedUp(failure.bytes)),
                      QString::number(ImportLimits::MegabytesRoundedUp(ImportLimits::MaxAnimationBytes)));
        break;
    default:
        ReportImportFailure();
        break;
    }
    return nullptr;
}

QStringList CMotra::GetNamedFiles(const QString& sourcePath, qint64 sourceByteLimit)
{
    return DescriptionPictureFiles(SourceNamedFiles::ReadSource(sourcePath, sourceByteLimit),
                                   SourceNamedFiles::FolderOf(sourcePath));
}

qint64 CMotra::GetSourceByteLimit()
{
    return FileLimits::MaxXmlBytes;
}
