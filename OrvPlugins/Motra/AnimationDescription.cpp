#include "AnimationDescription.h"

#include "Documents/CDocumentAnimation.h"
#include "Import/ImportLimits.h"
#include "Import/PictureImport.h"
#include "Plugin/CRunFiles.h"
#include "Xml/CXmlFile.h"
#include "Xml/XmlNesting.h"

#include <QDomElement>
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

    bool Read(const QDomElement& element, QString& value)
    {
        if (!element.hasAttribute(m_Name))
            m_Name = m_Lower;
        if (!element.hasAttribute(m_Name))
            return false;
        value = element.attribute(m_Name);
        return true;
    }

private:
    QString m_Name;
    QString m_Lower;
};
} // namespace

namespace {
DescriptionFailure::Kind FailureOf(PictureImport::Result result)
{
    switch (result) {
    case PictureImport::NotAFile:
        return DescriptionFailure::FileUnreadable;
    case PictureImport::EmptyPicture:
        return DescriptionFailure::EmptyPicture;
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
    CXmlFile xml;
    // A description needs two levels; deeper files are refused before the DOM
    // spends quadratic time on them.
    if (XmlNesting::TooDeep(bytes) || !xml.LoadFromData(bytes)) {
        why.kind = DescriptionFailure::NotXml;
        return nullptr;
    }

    QString frameTag = QStringLiteral("FRAME");
    if (xml.CountElements(frameTag) == 0)
        frameTag = QStringLiteral("frame");

    auto animation = std::make_unique<CDocumentAnimation>();
    CFallbackName picture("REF", "ref");
    CFallbackName delay("DELAY", "delay");
    int displayTime = 0;
    qint64 totalBytes = 0;
    // The frames are walked in order, not looked up by index, so that long lists
    // take linear time.
    const QDomElement root = xml.GetRootElement().toElement();
    int position = 0;
    for (QDomElement frame = root.firstChildElement(frameTag); !frame.isNull();
         frame = frame.nextSiblingElement(frameTag)) {
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
        const PictureImport::Result loaded = PictureImport::LoadFromFile(path, image, &why.reason);
        if (loaded != PictureImport::Loaded) {
            why.kind = FailureOf(loaded);
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
