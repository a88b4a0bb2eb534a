#include "CTranslatorTDD.h"
#include "CSmsComposer.h"
#include "CSmsItem.h"
#include "Documents/CDocument.h"
#include "Import/CEcardDocument.h"
#include "Import/SourceNamedFiles.h"
#include "MessraSupport.h"
#include "Parameters/CProfile.h"
#include "Parameters/ParameterRead.h"
#include "Util/Assert.h"

using namespace MessraSupport;

CTranslatorTDD::CTranslatorTDD()
    : CSmsTranslator(QStringLiteral("TEMPLATE"), {QStringLiteral("ecd"), QStringLiteral("qbr"), QStringLiteral("seq"), QStringLiteral("vox"),
                      QStringLiteral("pic"), QStringLiteral("ani"), QStringLiteral("imy")})
{}

int CTranslatorTDD::IsCompatibleWithProfile(CProfile* profile)
{
    return ParameterRead::Bool(profile, "TDDCompatible", false) ? 1 : 0;
}

void CTranslatorTDD::FilterParametersWithProfile(CParameters*, CProfile*, int) {}

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
    return AddItem(composer, item, valid);
}

bool CTranslatorTDD::ComposeTemplate(CSmsComposer& composer, const QByteArray& bytes, const QString& path,
                                     const QString& baseFolder, const Settings& settings)
{
    CEcardDocument ecard(GetRootTag());
    if (!OpenEcard(ecard, bytes))
        return false;
    composer.SetTextFormat(ecard.GetTextEncoding(), CSmsComposer::MODE_TDD_TEMPLATE);
    if (settings.encodeName)
        composer.SetTitle(path);
    composer.SetCopyrightFlag(settings.copyrighted);

    return ReadEcardItems(
        ecard, baseFolder, settings.truncate, settings.packetCount,
        [&](const CSmsItem& item, bool valid, const QString&) { return AddItem(composer, item, valid); });
}

bool CTranslatorTDD::AddItem(CSmsComposer& composer, const CSmsItem& item, bool valid)
{
    if (!valid)
        return false;
    if (!composer.AddItem(item)) {
        Log(mConversionLog, QStringLiteral("Parsing error !\n"));
        return false;
    }
    return true;
}

bool CTranslatorTDD::Convert(CDocument* pDocument)
{
    ASSERT(pDocument && pDocument->GetDocType() == CDocument::ABSTRACT);
    ASSERT(mpCurrentParameters != 0);
    bool success = pDocument && pDocument->GetDocType() == CDocument::ABSTRACT;
    if (success) {
        // Without a parameter set every option is off and melodies get one packet.
        Settings settings;
        settings.copyrighted = ParameterRead::Bool(mpCurrentParameters, "Copyrighted", false);
        settings.encodeName = ParameterRead::Bool(mpCurrentParameters, "EncodeName", false);
        settings.truncate = ParameterRead::Bool(mpCurrentParameters, "TruncateMelody", false);
        settings.packetCount = qMax(ParameterRead::Int(mpCurrentParameters, "SMSPaquetCount", 1), 1);
        TakeItemLimits(mpProfile, GetRunFiles());

        CSmsComposer composer;
        const QString path = pDocument->GetName();
        const QString baseFolder = SourceNamedFiles::FolderOf(path);
        if (IsEcardSource(path))
            success = ComposeTemplate(composer, BytesOf(pDocument), path, baseFolder, settings);
        else
            success = ComposeSingleFile(composer, path, baseFolder, settings);

        if (success)
            success = ExportMessages(composer, QStringLiteral("TDD export error !\n"));
    }
    ReportDone();
    return success;
}
