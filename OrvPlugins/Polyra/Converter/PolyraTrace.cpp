#include "PolyraTrace.h"

#include "Plugin/CConversionLog.h"
#include "Text/CLanguageResources.h"

#include <cstdarg>
#include <cstdio>

bool PolyraTrace::Wants(int mask) const
{
    if (!mpLog)
        return false;
    if ((mask & (Detail | User)) == (Detail | User))
        return true;
    return !mbBassMute && (mask & Stage);
}

void PolyraTrace::Line(int mask, const char* format, ...)
{
    if (!Wants(mask))
        return;
    char buffer[512];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    mpLog->AddText(CConversionLog::SUMMARY, QString::fromLatin1(buffer));
}

void PolyraTrace::Text(int mask, const QString& text)
{
    if (Wants(mask))
        mpLog->AddText(CConversionLog::SUMMARY, text);
}

void PolyraTrace::Message(const QString& text)
{
    if (mpLog)
        mpLog->AddText(CConversionLog::SUMMARY | CConversionLog::DETAILED, text);
}

void PolyraTrace::Notice(const char* id, const QString& first, const QString& second)
{
    const QString text = CLanguageResources::GetMessage(QStringLiteral("CPolyra"), QString::fromLatin1(id));
    Message((second.isNull() ? text.arg(first) : text.arg(first, second)) + QLatin1Char('\n'));
}
