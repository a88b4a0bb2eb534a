#include "CTranslatorTDD.h"
#include "CEcardDocument.h"
#include "CSmsComposer.h"
#include "CSmsItem.h"
#include "MessraSupport.h"
#include "Documents/CDocument.h"
#include "Parameters/CProfile.h"
#include "Util/Assert.h"
#include <QCoreApplication>

using namespace MessraSupport;

namespace
{
const char* const ImportExtensions[] = {"ecd", "qbr", "seq", "vox", "pic", "ani", "imy"};
const int ImportExtensionCount = 7;
}

int CTranslatorTDD::UnloadResources()
{
    return 1;
}

int CTranslatorTDD::IsCompatibleWithProfile(CProfile* profile)
{
    return BoolValue(profile, "TDDCompatible") ? 1 : 0;
}

void CTranslatorTDD::FilterParametersWithProfile(CParameters*, CProfile*, int)
{
}

void CTranslatorTDD::FilterParametersWithDocument(CParameters* parameters, CDocument* document)
{
    ApplyMelodyRule(parameters, document, QStringLiteral("TEMPLATE"));
}

void CTranslatorTDD::SetParameters(CParameters* parameters)
{
    mpCurrentParameters = parameters;
}

int CTranslatorTDD::GetDocumentType()
{
    return CDocument::ABSTRACT;
}

int CTranslatorTDD::GetPreviewDocumentType()
{
    return CDocument::ABSTRACT;
}

int CTranslatorTDD::GetConverterType()
{
    return TRANSLATOR;
}

int CTranslatorTDD::GetImportExtensionCount()
{
    return ImportExtensionCount;
}

QString CTranslatorTDD::GetImportExtension(int index)
{
    if (index < 0 || index >= ImportExtensionCount)
        return QString();
    return QString::fromLatin1(ImportExtensions[index]);
}

QString CTranslatorTDD::GetExportExtension()
{
    return QStringLiteral("TDD_SMS");
}

QString CTranslatorTDD::GetDescription()
{
    return QStringLiteral("TDD SMS translator");
}

QString CTranslatorTDD::GetParametersFileName()
{
    return QStringLiteral("TDDParameters.xml");
}

CDocument* CTranslatorTDD::Import(const QByteArray& bytes)
{
    return ImportBytes(bytes);
}

bool CTranslatorTDD::ComposeSingleFile(CSmsComposer& composer, const QString& path, const QString& baseFolder,
                                       const Settings& settings)
{
    CSmsItem item;
    QString messages;
    const bool valid = item.SetContent(CompleteExtension(path), QStringLiteral("USR"), path, baseFolder,
                                       settings.truncate, settings.packetCount, mpProfile, messages, 0);
    Log(mConversionLog, messages);
    if (!valid)
        return false;
    CSourceEncodingType format;
    format.SetIso8859_1();
    composer.SetTextFormat(format, CSmsComposer::MODE_TDD_SINGLE);
    if (settings.encodeName)
        composer.SetTitle(path);
    composer.SetCopyrightFlag(settings.copyrighted);
    if (!composer.AddItem(item))
    {
        Log(mConversionLog, QStringLiteral("Parsing error !\n"));
        return false;
    }
    return true;
}

bool CTranslatorTDD::ComposeTemplate(CSmsComposer& composer, const QByteArray& bytes, const QString& path,
                                     const QString& baseFolder, const Settings& settings)
{
    CEcardDocument ecard(QStringLiteral("TEMPLATE"));
    if (!OpenEcard(ecard, bytes, mConversionLog))
        return false;
    composer.SetTextFormat(ecard.GetTextEncoding(), CSmsComposer::MODE_TDD_TEMPLATE);
    if (settings.encodeName)
        composer.SetTitle(path);
    composer.SetCopyrightFlag(settings.copyrighted);

    int textPosition = 0;
    for (; !ecard.IsAtEnd(); ecard.Next())
    {
        CEcardItem ecd_itm;
        if (!ecard.ReadCurrentItem(ecd_itm))
        {
            Log(mConversionLog, UnreadableEntryText(ecard));
            continue;
        }
        ASSERT(0 != ecd_itm.getType().size());
        CSmsItem item;
        QString messages;
        const bool valid = item.SetContent(ecd_itm.getType(), ecd_itm.getSType(), ecd_itm.getRef(), baseFolder,
                                           settings.truncate, settings.packetCount, mpProfile, messages,
                                           textPosition);
        Log(mConversionLog, messages);
        if (!valid)
            return false;
        if (!composer.AddItem(item))
        {
            Log(mConversionLog, QStringLiteral("Parsing error !\n"));
            return false;
        }
        if (item.IsText())
            textPosition += int(item.GetText().size());
    }
    return true;
}

bool CTranslatorTDD::Convert(CDocument* pDocument)
{
    ASSERT(pDocument && pDocument->GetDocType() == CDocument::ABSTRACT);
    ASSERT(mpCurrentParameters != 0);
    bool success = pDocument && pDocument->GetDocType() == CDocument::ABSTRACT;
    if (success)
    {
        // Without a parameter set every option is off and melodies get one packet.
        Settings settings;
        settings.copyrighted = BoolValue(mpCurrentParameters, "Copyrighted");
        settings.encodeName = BoolValue(mpCurrentParameters, "EncodeName");
        settings.truncate = BoolValue(mpCurrentParameters, "TruncateMelody");
        settings.packetCount = qMax(IntValue(mpCurrentParameters, "SMSPaquetCount", 1), 1);
        TakeMaxMediaSize(mpProfile);

        CSmsComposer composer;
        const QString path = pDocument->GetName();
        const QString baseFolder = FolderOf(path);
        if (CompleteExtension(path) == QLatin1String("ECD"))
            success = ComposeTemplate(composer, BytesOf(pDocument), path, baseFolder, settings);
        else
            success = ComposeSingleFile(composer, path, baseFolder, settings);

        if (success)
        {
            ASSERT(0 == mRawDataList.count());
            ClearRawData();
            QList<QByteArray> chunks;
            success = composer.Export(chunks);
            if (success)
                mRawDataList = chunks;
            else
                Log(mConversionLog, QStringLiteral("TDD export error !\n"));
        }
    }
    emit SetProgress(QString(), 100);
    QCoreApplication::processEvents();
    return success;
}
