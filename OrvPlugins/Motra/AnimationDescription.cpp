#include "AnimationDescription.h"

#include "Documents/CDocumentAnimation.h"
#include "Import/ImportLimits.h"
#include "Import/PictureImport.h"
#include "Xml/CXmlFile.h"

#include <memory>

namespace
{
// Attribute names switch to their lower-case spelling at the first frame that lacks
// the upper-case one, and keep it for every later frame.
class CFallbackName
{
public:
    CFallbackName(const char* upper, const char* lower)
        : m_Name(QString::fromLatin1(upper)), m_Lower(QString::fromLatin1(lower)) {}

    bool ReadText(const CXmlFile& xml, QString& value)
    {
        if (xml.GetStringAttribute(m_Name, value))
            return true;
        m_Name = m_Lower;
        return xml.GetStringAttribute(m_Name, value);
    }

    bool ReadNumber(const CXmlFile& xml, long& value)
    {
        if (xml.GetLongAttribute(m_Name, value))
            return true;
        m_Name = m_Lower;
        return xml.GetLongAttribute(m_Name, value);
    }

private:
    QString m_Name;
    QString m_Lower;
};
} // namespace

CDocumentAnimation* ReadAnimationDescription(const QByteArray& bytes)
{
    CXmlFile xml;
    if (!xml.LoadFromData(bytes))
        return nullptr;

    QString frameTag = QStringLiteral("FRAME");
    if (xml.CountElements(frameTag) == 0)
        frameTag = QStringLiteral("frame");
    const int count = xml.CountElements(frameTag);

    auto animation = std::make_unique<CDocumentAnimation>();
    CFallbackName picture("REF", "ref");
    CFallbackName delay("DELAY", "delay");
    long displayTime = 0;
    qint64 totalBytes = 0;
    for (int i = 0; i < count; ++i) {
        if (!xml.GoToElement(frameTag, true, i))
            continue;
        QString path;
        picture.ReadText(xml, path);
        // Without a display time of its own a frame keeps the previous one's.
        delay.ReadNumber(xml, displayTime);
        if (displayTime <= 0 || path.isEmpty())
            continue;

        QImage image;
        if (PictureImport::LoadFromFile(path, image) != PictureImport::Loaded)
            return nullptr;
        totalBytes += image.sizeInBytes();
        if (totalBytes > ImportLimits::MaxAnimationBytes)
            return nullptr;
        animation->AppendFrame(image, int(displayTime));
    }
    if (animation->GetAnimationFrameCount() == 0)
        return nullptr;
    return animation.release();
}
