#include "EngineSupport.h"
#include "Documents/CDocument.h"
#include "Host/CLocalFileDriver.h"
#include "Host/CLocalFileInfo.h"
#include "Plugin/CPluginBase.h"
#include "Text/CLanguageResources.h"

QString Message(const QString& id)
{
    return CLanguageResources::GetMessage(QStringLiteral("COrvApplication"), id);
}

QString Message(const char* id)
{
    return Message(QString::fromLatin1(id));
}

QByteArray ReadSourceFile(const QString& path)
{
    CLocalFileDriver driver;
    const uint32_t expected = driver.GetFileSize(path);
    if (expected == 0 || expected > uint32_t(INT32_MAX))
        return QByteArray();
    QByteArray bytes(int(expected), Qt::Uninitialized);
    uint32_t size = 0;
    if (!driver.ReadFile(path, &size, reinterpret_cast<unsigned char*>(bytes.data()), expected) || size == 0)
        return QByteArray();
    bytes.truncate(int(size));
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
