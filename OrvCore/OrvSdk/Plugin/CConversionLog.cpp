#include "Plugin/CConversionLog.h"

CConversionLog::CConversionLog(QObject* parent) : QObject(parent) {}

void CConversionLog::AddText(int flags, const QString& text)
{
    for (const auto& [flag, target] :
         {std::pair<int, QString*>{SUMMARY, &m_SummaryText}, std::pair<int, QString*>{DETAILED, &m_DetailedText}}) {
        if (!(flags & flag))
            continue;
        if (flags & CLEAR)
            target->clear();
        target->append(text);
    }
}
