#include "AnimationDescription.h"

#include "Documents/CDocumentAnimation.h"
#include "Import/ImportLimits.h"
#include "Import/PictureImport.h"
#include "Plugin/CRunFiles.h"
#include "Xml/XmlRootChildren.h"

#include <QList>
#include <memory>

namespace {
// Attribute names switch to their lower-case spelling at the first frame that lacks
// the upper-case one, and keep it for every later frame.
class CFallbackName
{
public:
    CFallbackName(const char* upper, const char* lower)
        : m_Name(QString::fromLatin1(upper)), m_Lower(QString::fromLatin1(lower))
    {}

    bool Read(const QXmlStreamAttributes& element, QString& value)
    {
        if (!element.hasAttribute(m_Name))
            m_Name = m_Lower;
        if (!element.hasAttribute(m_Name))
            return false;
        value = element.value(m_Name).toString();
        return true;
    }

private:
    QString m_Name;
    QString m_Lower;
};

DescriptionFailure::Kind FailureOf(PictureImport::Result result)
{
    switch (result) {
    case PictureImport::NotAFile:
        return DescriptionFailure::FileUnreadable;
    case PictureImport::EmptyPicture:
        return DescriptionFailure::EmptyPicture;
    case PictureImport::TooLarge:
        return DescriptionFailure::FrameTooLarge;
    default:
        return DescriptionFailure::NotAPicture;
    }
}

// The attributes of the root's "FRAME" children, or of its "frame" children when it has none, read before
// any picture and with no document built: a description that names more frames than an animation may have is
// refused from that count (at the first "FRAME" too many), whatever its size.
DescriptionFailure::Kind ReadFrameElements(const QByteArray& bytes, QList<QXmlStreamAttributes>& frames)
{
    const int most = ImportLimits::MaxAnimationFrames;
    const QString upperTag = QStringLiteral("FRAME");
    const QString lowerTag = QStringLiteral("frame");
    QList<QXmlStreamAttributes> upper;
    QList<QXmlStreamAttributes> lower;
    bool tooManyLower = false;
    CXmlRootChildren xml(bytes);
    if (!xml.ReadRoot())
        return DescriptionFailure::NotXml;
    while (xml.ReadChild()) {
        const CXmlRootChildren::Node& child = xml.Child();
        if (child.kind != CXmlRootChildren::Node::Element)
            continue;
        if (child.name == upperTag) {
            if (upper.size() == most)
                return DescriptionFailure::TooManyFrames;
            upper.append(child.attributes);
        } else if (child.name == lowerTag) {
            // These count only when no "FRAME" follows.
            if (lower.size() < most)
                lower.append(child.attributes);
            else
                tooManyLower = true;
        }
    }
    if (!xml.ReadToEnd())
        return DescriptionFailure::NotXml;
    if (upper.isEmpty() && tooManyLower)
        return DescriptionFailure::TooManyFrames;
    frames = upper.isEmpty() ? lower : upper;
    return DescriptionFailure::None;
}
} // namespace

CDocumentAnimation* ReadAnimationDescription(const QByteArray& bytes, DescriptionFailure* failure,
                                             const CRunFiles* runFiles)
{
    DescriptionFailure unused;
    DescriptionFailure& why = failure ? *failure : unused;
    why = DescriptionFailure();
    QList<QXmlStreamAttributes> frames;
    why.kind = ReadFrameElements(bytes, frames);
    if (why.kind != DescriptionFailure::None)
        return nullptr;

    auto animation = std::make_unique<CDocumentAnimation>();
    CFallbackName picture("REF", "ref");
    CFallbackName delay("DELAY", "delay");
    int displayTime = 0;
    qint64 totalBytes = 0;
    int position = 0;
    for (const QXmlStreamAttributes& frame : frames) {
        ++position;
        QString path;
        picture.Read(frame, path);
        // Without a display time of its own a frame keeps the previous one's.
        QString time;
        if (delay.Read(frame, time)) {
            // A decimal 32-bit number, as the XML wrapper reads numbers; else 0.
            bool converts = false;
            displayTime = time.toInt(&converts, 10);
            if (!converts)
                displayTime = 0;
        }
        if (displayTime <= 0 || path.isEmpty())
            continue;

        QImage image;
        why.frame = position;
        why.path = path;
        why.reason = CRunFiles::NamedFileRefusal(runFiles, path);
        if (!why.reason.isEmpty()) {
            why.kind = DescriptionFailure::FileUnreadable;
            return nullptr;
        }
        QSize size;
        const PictureImport::Result loaded = PictureImport::LoadFromFile(path, image, &why.reason, &size);
        if (loaded != PictureImport::Loaded) {
            why.kind = FailureOf(loaded);
            why.width = size.width();
            why.height = size.height();
            return nullptr;
        }
        totalBytes += image.sizeInBytes();
        if (totalBytes > ImportLimits::MaxAnimationBytes) {
            why.kind = DescriptionFailure::TooLarge;
            why.bytes = totalBytes;
            return nullptr;
        }
        animation->AppendFrame(image, displayTime);
    }
    // No usable frame is no failure here: the converters refuse an empty animation with their own message.
    why = DescriptionFailure();
    return animation.release();
}
