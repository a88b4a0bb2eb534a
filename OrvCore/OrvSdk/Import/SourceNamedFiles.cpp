#include "Import/SourceNamedFiles.h"
#include "Text/EcardText.h"
#include "Util/BoundedFileRead.h"
#include <QDir>
#include <QFileInfo>
#include <QXmlStreamReader>

namespace {

// The name an element of the root's children gives: the attribute of the first name it has. Empty when the element
// is none of the elements the format reads.
using NameOf = std::function<QString(const QXmlStreamReader& reader)>;

// Streams the document, element by element, without building it: any size takes memory for one element only.
bool VisitChildrenOfRoot(QXmlStreamReader& reader, const QString& folder, const NameOf& nameOf,
                         const std::function<bool(const QString&)>& visit)
{
    int depth = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::EndElement) {
            --depth;
        } else if (token == QXmlStreamReader::StartElement && ++depth == 2) {
            const QString name = nameOf(reader);
            if (!name.isEmpty() && visit(QDir(folder).filePath(name)))
                return true;
        }
    }
    return false;
}

QString AttributeOf(const QXmlStreamReader& reader, const char* first, const char* second)
{
    const QXmlStreamAttributes attributes = reader.attributes();
    const QString primary = QString::fromLatin1(first);
    return attributes.hasAttribute(primary) ? attributes.value(primary).toString()
                                            : attributes.value(QString::fromLatin1(second)).toString();
}

// A frame ("FRAME" or "frame") names its picture in "REF" (or "ref").
QString FramePicture(const QXmlStreamReader& reader)
{
    const QStringView tag = reader.name();
    if (tag != QLatin1String("FRAME") && tag != QLatin1String("frame"))
        return QString();
    return AttributeOf(reader, "REF", "ref");
}

// Every entry ("IE") names a file in "REF", but a text and a predefined object, whose REF is the text or a number.
QString EntryFile(const QXmlStreamReader& reader)
{
    if (reader.name() != QLatin1String("IE"))
        return QString();
    const QXmlStreamAttributes attributes = reader.attributes();
    if (attributes.value(QLatin1String("TYPE")) == QLatin1String("TXT")
        || attributes.value(QLatin1String("STYPE")) == QLatin1String("PRE"))
        return QString();
    return attributes.value(QLatin1String("REF")).toString();
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
        QXmlStreamReader reader(bytes);
        return VisitChildrenOfRoot(reader, folder, FramePicture, visit);
    }
    // An e-card's characters are its bytes as the translators decode them, whatever its prolog says.
    QXmlStreamReader reader(DecodeEcardBytes(bytes));
    return VisitChildrenOfRoot(reader, folder, EntryFile, visit);
}

} // namespace SourceNamedFiles
