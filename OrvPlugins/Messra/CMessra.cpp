#include "CMessra.h"
#include "CSmsComposer.h"
#include "CSmsItem.h"
#include "Documents/CDocument.h"
#include "Import/CEcardDocument.h"
#include "Import/SourceNamedFiles.h"
#include "MessraSupport.h"
#include "Parameters/CParameter.h"
#include "Parameters/CProfile.h"
#include "Parameters/ParameterRead.h"
#include "Text/ShownName.h"
#include "Util/Assert.h"

using namespace MessraSupport;

CMessra::CMessra()
    : CSmsTranslator(QStringLiteral("ECARD"), {QStringLiteral("ecd"), QStringLiteral("emp"), QStringLiteral("ema"), QStringLiteral("imy")})
{}

int CMessra::IsCompatibleWithProfile(CProfile* profile)
{
    return ParameterRead::Bool(profile, "EMS4Compatible", false) ? 1 : 0;
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
    else {
        if (!odi->mIsConst)
            odi->mValue = false;
        odi->mIsConst = true;
    }
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

bool CMessra::AddItem(CSmsComposer& composer, const CSmsItem& item, bool valid, const QString& ref)
{
    if (!valid)
        return false;
    if (item.IsEmsUsable() && CSmsComposer::IsEmsSendable(item.GetType()))
        return composer.AddItem(item);
    // Sequences, speech clips and the maker's formats have no EMS object.
    if (!item.HasFailedEmsCheck())
        Log(mConversionLog, ShowName(ref) + QStringLiteral(" : File is not EMS compatible\n"));
    return false;
}

bool CMessra::ComposeEcard(CSmsComposer& composer, const QByteArray& bytes, const QString& baseFolder, bool truncate,
                           bool odi)
{
    CEcardDocument ecard(GetRootTag());
    if (!OpenEcard(ecard, bytes))
        return false;
    composer.SetTextFormat(ecard.GetTextEncoding(), CSmsComposer::MODE_EMS);
    composer.SetOdiFlag(odi);

    return ReadEcardItems(ecard, baseFolder, truncate, 1, [&](const CSmsItem& item, bool valid, const QString& ref) {
        return AddItem(composer, item, valid, ref);
    });
}

bool CMessra::ComposeSingleFile(CSmsComposer& composer, const QString& path, const QString& baseFolder, bool truncate,
                                bool odi)
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
    if (success) {
        TakeItemLimits(mpProfile, GetRunFiles());
        const bool odiCompatible = ParameterRead::Bool(mpProfile, "ODICopyrightCompatible", false);
        const bool truncate = ParameterRead::Bool(mpCurrentParameters, "TruncateMelody", false);
        const bool odi = odiCompatible && ParameterRead::Bool(mpCurrentParameters, "ODICopyright", false);

        CSmsComposer composer;
        const QString path = pDocument->GetName();
        const QString baseFolder = SourceNamedFiles::FolderOf(path);
        if (IsEcardSource(path))
            success = ComposeEcard(composer, BytesOf(pDocument), baseFolder, truncate, odi);
        else
            success = ComposeSingleFile(composer, path, baseFolder, truncate, odi);

        if (success)
            success = ExportMessages(composer, QStringLiteral("EMS export error !\n"));
    }
    ReportDone();
    return success;
}
