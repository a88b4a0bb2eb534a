#include "AnimationDescription.h"

#include "Documents/CDocumentAnimation.h"
#include "Import/ImportLimits.h"
#include "Import/PictureImport.h"
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

CDocumentAnimation* ReadAnimationDescription(const QByteArray& bytes)
{
    CXmlFile xml;
    // A description needs two levels; deeper files are refused before the DOM
    // spends quadratic time on them.
    if (XmlNesting::TooDeep(bytes) || !xml.LoadFromData(bytes))
        return nullptr;

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
    for (QDomElement frame = root.firstChildElement(frameTag); !frame.isNull();
         frame = frame.nextSiblingElement(frameTag)) {
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
        if (PictureImport::LoadFromFile(path, image) != PictureImport::Loaded)
            return nullptr;
        totalBytes += image.sizeInBytes();
        if (totalBytes > ImportLimits::MaxAnimationBytes)
            return nullptr;
        animation->AppendFrame(image, displayTime);
    }
    if (animation->GetAnimationFrameCount() == 0)
        return nullptr;
    return animation.release();
}
