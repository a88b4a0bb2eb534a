#include "Text/CSourceEncodingType.h"

QString CSourceEncodingType::Iso8859_1Name()
{
    return QStringLiteral("ISO-8859-1");
}

QString CSourceEncodingType::Iso8859_7Name()
{
    return QStringLiteral("ISO-8859-7");
}

QString CSourceEncodingType::Ucs2Name()
{
    return QStringLiteral("ISO-10146-UCS-2");
}

bool CSourceEncodingType::SetFromCharsetName(const QString& name)
{
    // "ISO-8859-15" counts as ISO-8859-1: it holds that name once.
    if (name.count(Iso8859_1Name()) == 1)
        m_Code = ISO_8859_1;
    else if (name.count(Iso8859_7Name()) == 1)
        m_Code = ISO_8859_7;
    else if (name.count(Ucs2Name()) == 1)
        m_Code = UCS_2;
    else
        m_Code = UNKNOWN;
    return true;
}
