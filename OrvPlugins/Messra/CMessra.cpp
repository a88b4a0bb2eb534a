#include "CMessra.h"
#include "CEcardDocument.h"
#include "CSmsComposer.h"
#include "CSmsItem.h"
#include "MessraSupport.h"
#include "Documents/CDocument.h"
#include "Parameters/CParameter.h"
#include "Parameters/CProfile.h"
#include "Util/Assert.h"
#include <QCoreApplication>

using namespace MessraSupport;

namespace
{
const char* const ImportExtensions[] = {"ecd", "emp", "ema", "imy"};
const int ImportExtensionCount = 4;
}

int CMessra::UnloadResources()
{
    return 1;
}

int CMessra::IsCompatibleWithProfile(CProfile* profile)
{
    return BoolValue(profile, "EMS4Compatible") ? 1 : 0;
}

void CMessra::FilterParametersWithProfile(CParameters* parameters, CProfile* profile, int apply)
{
    if (!parameters || !profile)
        return;
    const CBoolParameter* compatible = profile->GetBoolParameter(QStringLiteral("ODICopyrightCompatible"));
    CBoolParameter* odi = parameters->GetBoolParameter(QStringLiteral("ODICopyright"));
    if (!compatible || !odi)
        return;
    if (apply != 1)
        odi->Reset();
    else if (compatible->mValue)
        odi->mIsConst = false;
    else
    {
        if (!odi->mIsConst)
            odi->mValue = false;
        odi->mIsConst = true;
    }
}

void CMessra::FilterParametersWithDocument(CParameters* parameters, CDocument* document)
{
    ApplyMelodyRule(parameters, document, QStringLiteral("ECARD"));
}

void CMessra::SetParameters(CParameters* parameters)
{
    mpCurrentParameters = parameters;
}

int CMessra::GetDocumentType()
{
    return CDocument::ABSTRACT;
}

int CMessra::GetPreviewDocumentType()
{
    return CDocument::ABSTRACT;
}

int CMessra::GetConverterType()
{
    return TRANSLATOR;
}

int CMessra::GetImportExtensionCount()
{
    return ImportExtensionCount;
}

QString CMessra::GetImportExtension(int index)
{
    if (index < 0 || index >= ImportExtensionCount)
        return QString();
    return QString::fromLatin1(ImportExtensions[index]);
}

QString CMessra::GetExportExtension()
{
    return QStringLiteral("EMS_SMS");
}

QString CMessra::GetDescription()
{
    return QStringLiteral("EMS SMS translator");
}

QString CMessra::GetParametersFileName()
{
    return QStringLiteral("EMSParameters.xml");
}

CDocument* CMessra::Import(const QByteArray& bytes)
{
    return ImportBytes(bytes);
}

bool CMessra::AddItem(CSmsComposer& composer, const CSmsItem& item, bool valid, const QString& ref)
{
    if (!valid)
        return false;
    if (item.IsEmsUsable() && CSmsComposer::IsEmsSendable(item.GetType()))
        return composer.AddItem(item);
    // Sequences, speech clips and the maker's formats have no EMS object.
    if (!item.HasFailedEmsCheck())
        Log(mConversionLog, ref + QStringLiteral(" : File is not EMS compatible\n"));
    return false;
}

bool CMessra::ComposeEcard(CSmsComposer& composer, const QByteArray& bytes, const QString& baseFolder,
                           bool truncate, bool odi)
{
    CEcardDocument ecard(QStringLiteral("ECARD"));
    if (!OpenEcard(ecard, bytes, mConversionLog))
        return false;
    composer.SetTextFormat(ecard.GetTextEncoding(), CSmsComposer::MODE_EMS);
    composer.SetOdiFlag(odi);

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
                                           truncate, 1, mpProfile, messages, textPosition);
        Log(mConversionLog, messages);
        if (!AddItem(composer, item, valid, ecd_itm.getRef()))
            return false;
        if (item.IsText())
            textPosition += int(item.GetText().size());
    }
    return true;
}

bool CMessra::ComposeSingleFile(CSmsComposer& composer, const QString& path, const QString& baseFolder,
                                bool truncate, bool odi)
{
    CSourceEncodingType format;
    format.SetIso8859_1();
    composer.SetTextFormat(format, CSmsComposer::MODE_EMS);
    composer.SetOdiFlag(odi);
    CSmsItem item;
    QString messages;
    const bool valid = item.SetContent(CompleteExtension(path), QStringLiteral("USR"), path, baseFolder, truncate, 1,
                                       mpProfile, messages, 0);
    Log(mConversionLog, messages);
    return AddItem(composer, item, valid, path);
}

bool CMessra::Convert(CDocument* pDocument)
{
    ASSERT(pDocument != 0);
    ASSERT(pDocument && pDocument->GetDocType() == CDocument::ABSTRACT);
    bool success = pDocument && pDocument->GetDocType() == CDocument::ABSTRACT;
    if (success)
    {
        TakeMaxMediaSize(mpProfile);
        const bool odiCompatible = BoolValue(mpProfile, "ODICopyrightCompatible");
        const bool truncate = BoolValue(mpCurrentParameters, "TruncateMelody");
        const bool odi = odiCompatible && BoolValue(mpCurrentParameters, "ODICopyright");

        CSmsComposer composer;
        const QString path = pDocument->GetName();
        const QString baseFolder = FolderOf(path);
        if (CompleteExtension(path) == QLatin1String("ECD"))
            success = ComposeEcard(composer, BytesOf(pDocument), baseFolder, truncate, odi);
        else
            success = ComposeSingleFile(composer, path, baseFolder, truncate, odi);

        if (success)
        {
            ASSERT(0 == mRawDataList.count());
            ClearRawData();
            QList<QByteArray> chunks;
            success = composer.Export(chunks);
            if (success)
                mRawDataList = chunks;
            else
                Log(mConversionLog, QStringLiteral("EMS export error !\n"));
        }
    }
    emit SetProgress(QString(), 100);
    QCoreApplication::processEvents();
    return success;
}
