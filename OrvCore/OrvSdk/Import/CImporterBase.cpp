#include "Import/CImporterBase.h"

#include "Text/CLanguageResources.h"
#include "Util/Assert.h"

void CImporterBase::CheckInput(const QByteArray& RawData)
{
    ASSERT(!RawData.isNull() && !RawData.isEmpty());
}

void CImporterBase::ReportImportFailure()
{
    const QString className = QString::fromLatin1(m_ClassName);
    const QString id = QString::fromLatin1(ImportErrorId);
    mConversionLog.AddText(CConversionLog::SUMMARY, CLanguageResources::GetMessage(className, id) + QLatin1Char('\n'));
    mConversionLog.AddText(CConversionLog::DETAILED, CLanguageResources::GetMessage(className, id));
}

void CImporterBase::ReportMessage(const QString& id)
{
    LogMessage(QString::fromLatin1(m_ClassName), id);
}

void CImporterBase::ReportText(const QString& text)
{
    mConversionLog.AddText(CConversionLog::SUMMARY | CConversionLog::DETAILED, text + QLatin1Char('\n'));
}

CDocument* CImporterBase::DocumentOrFailure(CDocument* document)
{
    if (!document)
        ReportImportFailure();
    return document;
}
