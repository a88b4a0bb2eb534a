#include "MessraSupport.h"
#include "CSmsItem.h"
#include "Documents/CDocumentAbstract.h"
#include "Import/CEcardDocument.h"
#include "Parameters/CParameter.h"
#include "Parameters/CProfile.h"
#include "Parameters/ParameterRead.h"
#include "Plugin/CConversionLog.h"
#include "Text/CLanguageResources.h"
#include "Xml/XmlAttributeCount.h"
#include <QFileInfo>
#include <new>

namespace MessraSupport {
void TakeItemLimits(CProfile* profile, const CRunFiles* runFiles)
{
    CSmsItem::SetRunFiles(runFiles);
    bool bPresent = false;
    const int limit = ParameterRead::Int(profile, "MaxMediaSize", 0, &bPresent);
    if (bPresent)
        CSmsItem::SetMaxMediaSize(limit);
}

QString CompleteExtension(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const int dot = name.indexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1).toUpper();
}

QString LastExtension(const QString& name)
{
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1).toUpper();
}

QString FolderOf(const QString& path)
{
    return QFileInfo(path).absolutePath();
}

namespace {
bool EcardHoldsMelody(const QByteArray& bytes, const QString& rootTag)
{
    CEcardDocument ecard(rootTag);
    QString message;
    if (!ecard.SetContent(bytes) || !ecard.Check(message))
        return false;
    do {
        CEcardItem item;
        if (ecard.ReadCurrentItem(item)
            && (item.getType() == QLatin1String("QBR") || item.getType() == QLatin1String("IMY")))
            return true;
    } while (ecard.Next());
    return false;
}
} // namespace

void ApplyMelodyRule(CParameters* parameters, CDocument* document, const QString& rootTag)
{
    CBoolParameter* truncate = parameters ? parameters->GetBoolParameter(QStringLiteral("TruncateMelody")) : nullptr;
    if (!truncate)
        return;
    const QString extension = document ? LastExtension(document->GetName()) : QString();
    const bool melody = extension == QLatin1String("IMY") || extension == QLatin1String("QBR")
                        || (extension == QLatin1String("ECD") && EcardHoldsMelody(BytesOf(document), rootTag));
    if (melody)
        truncate->mIsConst = false;
    else {
        if (!truncate->mIsConst)
            truncate->mValue = false;
        truncate->mIsConst = true;
    }
}

CDocument* ImportBytes(const QByteArray& bytes)
{
    CDocumentAbstract* document = new (std::nothrow) CDocumentAbstract();
    if (document && !document->SetData(bytes.constData(), uint32_t(bytes.size()))) {
        delete document;
        return nullptr;
    }
    return document;
}

QByteArray BytesOf(CDocument* document)
{
    if (!document || document->GetDocType() != CDocument::ABSTRACT)
        return QByteArray();
    return static_cast<CDocumentAbstract*>(document)->ToByteArray();
}

void Log(CConversionLog& log, const QString& text)
{
    if (!text.isEmpty())
        log.AddText(CConversionLog::SUMMARY | CConversionLog::DETAILED, text);
}

bool OpenEcard(CEcardDocument& ecard, const QByteArray& bytes, CConversionLog& log)
{
    if (!ecard.SetContent(bytes)) {
        if (ecard.HasTooManyAttributes())
            Log(log, CLanguageResources::GetMessage(QStringLiteral("CSmsTranslator"),
                                                    QStringLiteral("id_ecard_too_many_attributes"))
                             .arg(XmlAttributeCount::MaxPerElement)
                         + QLatin1Char('\n'));
        else
            Log(log, ecard.IsNestedTooDeeply() ? QStringLiteral("Ecard content is nested too deeply !\n")
                                               : QStringLiteral("Ecard content is not well-formed !\n"));
        return false;
    }
    QString message;
    if (!ecard.Check(message)) {
        Log(log, message);
        return false;
    }
    if (!ecard.GetTextEncoding().IsKnown()) {
        Log(log, QStringLiteral("Text encoding type was not recognized\n"));
        return false;
    }
    return true;
}

QString UnreadableEntryText(const CEcardDocument& ecard)
{
    return QStringLiteral("Entry skipped: ") + ecard.DescribeCurrent()
           + QStringLiteral(" is neither text nor an IE element with TYPE, STYPE and REF\n");
}
} // namespace MessraSupport
