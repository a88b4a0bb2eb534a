#include "Xml/XmlNesting.h"

#include <QXmlStreamReader>

namespace XmlNesting
{
namespace
{
bool TooDeep(QXmlStreamReader& reader, int maxDepth)
{
    int depth = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement && ++depth > maxDepth)
            return true;
        if (token == QXmlStreamReader::EndElement)
            --depth;
    }
    return false;
}
} // namespace

bool TooDeep(const QByteArray& bytes, int maxDepth)
{
    QXmlStreamReader reader(bytes);
    return TooDeep(reader, maxDepth);
}

bool TooDeep(const QString& text, int maxDepth)
{
    QXmlStreamReader reader(text);
    return TooDeep(reader, maxDepth);
}
} // namespace XmlNesting
