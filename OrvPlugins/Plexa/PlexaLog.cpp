#include "PlexaLog.h"

#include "Plugin/CConversionLog.h"
#include "Text/CLanguageResources.h"

namespace {
CConversionLog* s_pCurrentLog = nullptr;
} // namespace

void SetCurrentLog(CConversionLog* log)
{
    s_pCurrentLog = log;
}

CConversionLog* GetCurrentLog()
{
    return s_pCurrentLog;
}

void LogTrace(const QString& text)
{
    if (s_pCurrentLog)
        s_pCurrentLog->AddText(CConversionLog::SUMMARY, text);
}

void LogError(const QString& text)
{
    if (s_pCurrentLog)
        s_pCurrentLog->AddText(CConversionLog::SUMMARY | CConversionLog::DETAILED, text);
}

void LogErrorId(const char* id, const QString& argument)
{
    if (!s_pCurrentLog)
        return;
    QString text = CLanguageResources::GetMessage(QStringLiteral("CPlexa"), QLatin1String(id));
    // The texts are printf formats: one "%s" at most, and "%%" for a percent sign.
    const int slot = text.indexOf(QLatin1String("%s"));
    if (slot >= 0)
        text.replace(slot, 2, argument);
    text.replace(QLatin1String("%%"), QLatin1String("%"));
    LogError(text + QLatin1Char('\n'));
}
