#include "EngineSupport.h"
#include "CEngineHost.h"
#include "Documents/CDocument.h"
#include "Host/CLocalFileInfo.h"
#include "Plugin/CPluginBase.h"
#include "Text/CLanguageResources.h"
#include "Util/BoundedFileRead.h"
#include "Xml/CXmlFile.h"

QString Message(const QString& id)
{
    return CLanguageResources::GetMessage(QStringLiteral("COrvApplication"), id);
}

QString Message(const char* id)
{
    return Message(QString::fromLatin1(id));
}

QByteArray ReadSourceFile(const QString& path, qint64 cap, QString* reason)
{
    QByteArray bytes;
    QString why;
    if (BoundedFileRead::Read(path, cap, bytes, why) && bytes.isEmpty())
        why = Message("id_file_is_empty");
    if (reason)
        *reason = why;
    return bytes;
}

void DiscardConverterOutput(CPluginBase* converter)
{
    if (!converter)
        return;
    converter->ClearRawData();
    delete converter->TakePreviewDocument();
}

void ClearConversionLog(CPluginBase* converter)
{
    converter->GetConversionLog()->AddText(CConversionLog::SUMMARY | CConversionLog::DETAILED | CConversionLog::CLEAR,
                                           QString());
}

QString ParameterFileRefusal(const CXmlFile& file)
{
    return file.GetLoadError().isEmpty() ? Message("id_param_file_not_valid") : file.GetLoadError();
}

QString WithoutFinalLineFeed(const QString& text)
{
    return text.endsWith(QLatin1Char('\n')) ? text.left(text.size() - 1) : text;
}

QString MakeChunkFileName(const QString& folder, const QString& baseName, int index, int count,
                          const QString& extension)
{
    const QString suffix = count == 1 ? QString() : QStringLiteral("_%1").arg(index);
    return folder + QLatin1Char('/') + baseName + suffix + QLatin1Char('.') + extension;
}

QString ShortBaseName(const QString& path)
{
    return CLocalFileInfo(path).GetBaseName(false);
}
