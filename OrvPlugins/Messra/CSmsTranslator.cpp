#include "CSmsTranslator.h"
#include "CSmsComposer.h"
#include "CSmsItem.h"
#include "Documents/CDocument.h"
#include "Import/CEcardDocument.h"
#include "Import/EcardEntries.h"
#include "Import/SourceNamedFiles.h"
#include "MessraSupport.h"
#include "Text/CLanguageResources.h"
#include "Util/Assert.h"
#include "Util/BoundedFileRead.h"
#include "Xml/XmlAttributeCount.h"
#include <QCoreApplication>

using namespace MessraSupport;

CSmsTranslator::CSmsTranslator(const QString& rootTag, const QStringList& importExtensions)
    : m_RootTag(rootTag), m_ImportExtensions(importExtensions)
{}

int CSmsTranslator::UnloadResources()
{
    return 1;
}

void CSmsTranslator::SetParameters(CParameters* parameters)
{
    mpCurrentParameters = parameters;
}

int CSmsTranslator::GetDocumentType()
{
    return CDocument::ABSTRACT;
}

int CSmsTranslator::GetPreviewDocumentType()
{
    return CDocument::ABSTRACT;
}

int CSmsTranslator::GetConverterType()
{
    return TRANSLATOR;
}

int CSmsTranslator::GetImportExtensionCount()
{
    return int(m_ImportExtensions.size());
}

QString CSmsTranslator::GetImportExtension(int index)
{
    if (index < 0 || index >= m_ImportExtensions.size())
        return QString();
    return m_ImportExtensions.at(index);
}

CDocument* CSmsTranslator::Import(const QByteArray& bytes)
{
    return ImportBytes(bytes);
}

void CSmsTranslator::FilterParametersWithDocument(CParameters* parameters, CDocument* document)
{
    ApplyMelodyRule(parameters, document, m_RootTag);
}

QStringList CSmsTranslator::GetNamedFiles(const QString& sourcePath, qint64 sourceByteLimit)
{
    if (!IsEcardSource(sourcePath))
        return QStringList();
    CEcardDocument ecard(m_RootTag);
    QString reason;
    if (!EcardEntries::Open(ecard, SourceNamedFiles::ReadSource(sourcePath, sourceByteLimit), reason))
        return QStringList();
    return EcardEntries::NamedFiles(ecard, SourceNamedFiles::FolderOf(sourcePath));
}

bool CSmsTranslator::OpenEcard(CEcardDocument& ecard, const QByteArray& bytes)
{
    QString reason;
    if (EcardEntries::Open(ecard, bytes, reason))
        return true;
    if (ecard.HasTooManyAttributes())
        reason = CLanguageResources::GetMessage(QStringLiteral("CSmsTranslator"),
                                                QStringLiteral("id_ecard_too_many_attributes"))
                     .arg(XmlAttributeCount::MaxPerElement)
                 + QLatin1Char('\n');
    else if (ecard.HasTooLongEntity())
        reason =
            CLanguageResources::GetMessage(QStringLiteral("CSmsTranslator"), QStringLiteral("id_ecard_entity_too_long"))
                .arg(XmlAttributeCount::EntityExpansionLimit())
            + QLatin1Char('\n');
    else if (ecard.HasTooLargeDefaults())
        reason = CLanguageResources::GetMessage(QStringLiteral("CSmsTranslator"),
                                                QStringLiteral("id_ecard_defaults_too_large"))
                     .arg(FileLimits::MaxMessageSourceBytes)
                 + QLatin1Char('\n');
    Log(mConversionLog, reason);
    return false;
}

bool CSmsTranslator::ReadEcardItems(CEcardDocument& ecard, const QString& baseFolder, bool truncate, int packetCount,
                                    const ItemTaker& take)
{
    int textPosition = 0;
    // A card may hold millions of entries that are no item: a line for each would swamp the log.
    int skipped = 0;
    bool taken = true;
    for (; !ecard.IsAtEnd(); ecard.Next()) {
        CEcardItem ecd_itm;
        if (!ecard.ReadCurrentItem(ecd_itm)) {
            if (++skipped <= NamedSkippedEntries)
                Log(mConversionLog, UnreadableEntryText(ecard));
            continue;
        }
        ASSERT(0 != ecd_itm.getType().size());
        CSmsItem item;
        QString messages;
        const bool valid = item.SetContent(ecd_itm.getType(), ecd_itm.getSType(), ecd_itm.getRef(), baseFolder,
                                           truncate, packetCount, mpProfile, messages, textPosition);
        Log(mConversionLog, messages);
        if (!take(item, valid, ecd_itm.getRef())) {
            taken = false;
            break;
        }
        if (item.IsText())
            textPosition += int(item.GetText().size());
    }
    if (skipped > NamedSkippedEntries)
        Log(mConversionLog,
            CLanguageResources::GetMessage(QStringLiteral("CSmsTranslator"), QStringLiteral("id_more_entries_skipped"))
                    .arg(skipped - NamedSkippedEntries)
                + QLatin1Char('\n'));
    return taken;
}

bool CSmsTranslator::ExportMessages(CSmsComposer& composer, const QString& failureText)
{
    ASSERT(0 == mRawDataList.count());
    ClearRawData();
    QList<QByteArray> chunks;
    if (!composer.Export(chunks)) {
        Log(mConversionLog, failureText);
        return false;
    }
    mRawDataList = chunks;
    return true;
}

void CSmsTranslator::ReportDone()
{
    emit SetProgress(QString(), 100);
    QCoreApplication::processEvents();
}
