#include "Xml/XmlNesting.h"

#include <QXmlStreamReader>

#include <cstring>

namespace XmlNesting {
namespace {
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

// A quick look at the bytes that never counts fewer levels than the stream
// reader would: every start tag outside comments, character data and
// processing instructions opens a level, every end tag and "/>" outside
// quoted attribute values closes one. Encodings other than ASCII-compatible
// ones and declarations (whose entities could expand into elements) are left
// to the exact reader. Most files are far from the limit and so are read once.
bool CertainlyShallow(const QByteArray& bytes, int maxDepth)
{
    const char* p = bytes.constData();
    const char* const end = p + bytes.size();
    if (bytes.size() >= 2 && (uchar(p[0]) == 0xFE || uchar(p[0]) == 0xFF))
        return false;
    const auto startsWith = [&](const char* at, const char* text) {
        const size_t length = std::strlen(text);
        return size_t(end - at) >= length && std::memcmp(at, text, length) == 0;
    };
    const auto skipPast = [&](const char* from, const char* text) -> const char* {
        const size_t length = std::strlen(text);
        for (const char* at = from; size_t(end - at) >= length; ++at) {
            if (std::memcmp(at, text, length) == 0)
                return at + length;
        }
        return end;
    };

    int depth = 0;
    while (p < end) {
        const char c = *p;
        if (c == '\0')
            return false;
        if (c != '<') {
            ++p;
            continue;
        }
        if (startsWith(p, "<!--")) {
            p = skipPast(p + 4, "-->");
        } else if (startsWith(p, "<![CDATA[")) {
            p = skipPast(p + 9, "]]>");
        } else if (startsWith(p, "<?")) {
            p = skipPast(p + 2, "?>");
        } else if (startsWith(p, "<!")) {
            return false;
        } else if (startsWith(p, "</")) {
            --depth;
            p = skipPast(p + 2, ">");
        } else {
            if (++depth > maxDepth)
                return false;
            // The rest of the start tag, quoted values passed over whole.
            char quote = 0;
            char previous = 0;
            for (++p; p < end; ++p) {
                if (*p == '\0')
                    return false;
                if (quote) {
                    if (*p == quote)
                        quote = 0;
                } else if (*p == '"' || *p == '\'') {
                    quote = *p;
                } else if (*p == '>') {
                    if (previous == '/')
                        --depth;
                    ++p;
                    break;
                }
                previous = quote ? 0 : *p;
            }
        }
    }
    return true;
}
} // namespace

bool TooDeep(const QByteArray& bytes, int maxDepth)
{
    if (CertainlyShallow(bytes, maxDepth))
        return false;
    QXmlStreamReader reader(bytes);
    return TooDeep(reader, maxDepth);
}

bool TooDeep(const QString& text, int maxDepth)
{
    QXmlStreamReader reader(text);
    return TooDeep(reader, maxDepth);
}
} // namespace XmlNesting
