#include "Import/DescriptionFrames.h"
#include "Import/ImportLimits.h"
#include "Util/BoundedFileRead.h"
#include "Xml/XmlRootChildren.h"

namespace {

// Attribute names switch to their lower-case spelling at the first frame that lacks the upper-case one, and keep
// it for every later frame.
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

// The attributes of the frame elements, read with no document built: a description that names more frames than
// an animation may have is refused from that count (at the first "FRAME" too many), whatever its size.
DescriptionFrames::Outcome ReadFrameElements(const QByteArray& bytes, QList<QXmlStreamAttributes>& frames)
{
    const int most = ImportLimits::MaxAnimationFrames;
    const QString upperTag = QStringLiteral("FRAME");
    const QString lowerTag = QStringLiteral("frame");
    QList<QXmlStreamAttributes> upper;
    QList<QXmlStreamAttributes> lower;
    bool tooManyLower = false;
    CXmlRootChildren xml(bytes, FileLimits::MaxXmlBytes);
    switch (xml.Refusal()) {
    case XmlAttributeCount::TooManyAttributes:
        return DescriptionFrames::TooManyAttributes;
    case XmlAttributeCount::DefaultsTooLarge:
        return DescriptionFrames::DefaultsTooLarge;
    case XmlAttributeCount::Fits:
        break;
    }
    if (!xml.ReadRoot())
        return DescriptionFrames::NotXml;
    while (xml.ReadChild()) {
        const CXmlRootChildren::Node& child = xml.Child();
        if (child.kind != CXmlRootChildren::Node::Element)
            continue;
        if (child.name == upperTag) {
            if (upper.size() == most)
                return DescriptionFrames::TooManyFrames;
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
        return DescriptionFrames::NotXml;
    if (upper.isEmpty() && tooManyLower)
        return DescriptionFrames::TooManyFrames;
    frames = upper.isEmpty() ? lower : upper;
    return DescriptionFrames::Listed;
}

} // namespace

namespace DescriptionFrames {

Outcome List(const QByteArray& bytes, QList<CFrame>& frames)
{
    frames.clear();
    if (bytes.size() > FileLimits::MaxXmlBytes)
        return TooLarge;
    QList<QXmlStreamAttributes> elements;
    const Outcome outcome = ReadFrameElements(bytes, elements);
    if (outcome == NotXml && XmlAttributeCount::DeclaresEntityPastExpansionLimit(bytes))
        return EntityTooLong;
    if (outcome != Listed)
        return outcome;
    CFallbackName picture("REF", "ref");
    CFallbackName delay("DELAY", "delay");
    int displayTime = 0;
    int position = 0;
    for (const QXmlStreamAttributes& element : elements) {
        ++position;
        QString path;
        picture.Read(element, path);
        // Without a display time of its own a frame keeps the previous one's.
        QString time;
        if (delay.Read(element, time)) {
            // A decimal 32-bit number, as the XML wrapper reads numbers; else 0.
            bool converts = false;
            displayTime = time.toInt(&converts, 10);
            if (!converts)
                displayTime = 0;
        }
        if (displayTime > 0 && !path.isEmpty())
            frames.append(CFrame{path, displayTime, position});
    }
    return Listed;
}

} // namespace DescriptionFrames
