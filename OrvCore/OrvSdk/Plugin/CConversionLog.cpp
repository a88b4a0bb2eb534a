#include "Plugin/CConversionLog.h"
#include "Util/CMemFile.h"

#include <QFile>

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

void CConversionLog::SaveToFile(const QString& path) const
{
    const QByteArray latin1 = m_SummaryText.toLatin1();
    CMemFile file;
    if (!file.SetText(latin1.constData()))
        return;
    file.WriteFile(QFile::encodeName(path).constData(), CMemFile::ModeText);
}
