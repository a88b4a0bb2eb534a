#include "Import/SourceNamedFiles.h"
#include "Text/EcardText.h"
#include "Util/BoundedFileRead.h"
#include "Xml/XmlRootChildren.h"
#include <QDir>
#include <QFileInfo>

namespace {

using Element = CXmlRootChildren::Node;

// The name an element of the root's children gives: the attribute of the first name it has. Empty when the element
// is none of the elements the format reads.
using NameOf = std::function<QString(const Element& element)>;

// Walks the root's children without building the document, as the importers and translators read them: any size
// takes memory for one element only.
bool VisitChildrenOfRoot(CXmlRootChildren& xml, const QString& folder, const NameOf& nameOf,
                         const std::function<bool(const QString&)>& visit)
{
    if (!xml.ReadRoot())
        return false;
    while (xml.ReadChild()) {
        if (xml.Child().kind != Element::Element)
            continue;
        const QString name = nameOf(xml.Child());
        if (!name.isEmpty() && visit(QDir(folder).filePath(name)))
            return true;
    }
    return false;
}

QString AttributeOf(const Element& element, const char* first, const char* second)
{
    const QString primary = QString::fromLatin1(first);
    return element.attributes.hasAttribute(primary) ? element.attributes.value(primary).toString()
                                                    : element.attributes.value(QString::fromLatin1(second)).toString();
}

// A frame ("FRAME" or "frame") names its picture in "REF" (or "ref").
QString FramePicture(const Element& element)
{
    if (element.name != QLatin1String("FRAME") && element.name != QLatin1String("frame"))
        return QString();
    return AttributeOf(element, "REF", "ref");
}

// Every entry ("IE") names a file in "REF", but a text and a predefined object, whose REF is the text or a number.
QString EntryFile(const Element& element)
{
    if (element.name != QLatin1String("IE"))
        return QString();
    if (element.attributes.value(QLatin1String("TYPE")) == QLatin1String("TXT")
        || element.attributes.value(QLatin1String("STYPE")) == QLatin1String("PRE"))
        return QString();
    return element.attributes.value(QLatin1String("REF")).toString();
}

} // namespace

namespace SourceNamedFiles {

bool Visit(const QString& sourcePath, const QString& converterExtension,
           const std::function<bool(const QString& path)>& visit)
{
    const QFileInfo source(sourcePath);
    const QString folder = source.absolutePath();
    if (converterExtension.compare(QLatin1String("SEQ"), Qt::CaseInsensitive) == 0
        && visit(QDir(folder).filePath(QStringLiteral(".emi"))))
        return true;

    const QString extension = source.suffix();
    const bool description = extension.compare(QLatin1String("anim"), Qt::CaseInsensitive) == 0;
    const bool ecard = extension.compare(QLatin1String("ecd"), Qt::CaseInsensitive) == 0;
    if (!description && !ecard)
        return false;
    QByteArray bytes;
    QString reason;
    if (!BoundedFileRead::Read(sourcePath,
                               description ? FileLimits::MaxMediaSourceBytes : FileLimits::MaxMessageSourceBytes, bytes,
                               reason))
        return false;
    if (description) {
        CXmlRootChildren xml(bytes);
        return VisitChildrenOfRoot(xml, folder, FramePicture, visit);
    }
    // An e-card's characters are its bytes as the translators decode them, whatever its prolog says.
    CXmlRootChildren xml(DecodeEcardBytes(bytes));
    return VisitChildrenOfRoot(xml, folder, EntryFile, visit);
}

} // namespace SourceNamedFiles
