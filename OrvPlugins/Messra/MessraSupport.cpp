#include "MessraSupport.h"
#include "CSmsItem.h"
#include "Documents/CDocumentAbstract.h"
#include "Import/CEcardDocument.h"
#include "Import/EcardEntries.h"
#include "Parameters/CParameter.h"
#include "Parameters/CProfile.h"
#include "Parameters/ParameterRead.h"
#include "Plugin/CConversionLog.h"
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

bool IsEcardSource(const QString& path)
{
    return CompleteExtension(path) == QLatin1String("ECD");
}

namespace {
bool EcardHoldsMelody(const QByteArray& bytes, const QString& rootTag)
{
    CEcardDocument ecard(rootTag);
    QString reason;
    if (!EcardEntries::Open(ecard, bytes, reason))
        return false;
    for (; !ecard.IsAtEnd(); ecard.Next()) {
        CEcardItem item;
        if (ecard.ReadCurrentItem(item)
            && (item.getType() == QLatin1String("QBR") || item.getType() == QLatin1String("IMY")))
            return true;
    }
    return false;
}
} // namespace

void ApplyMelodyRule(CParameters* parameters, CDocument* document, const QString& rootTag)
{
    CBoolParameter* truncate = parameters ? parameters->GetBoolParameter(QStringLiteral("TruncateMelody")) : nullptr;
    if (!truncate)
        return;
    // The rule goes by the extension after the last ".", whatever a conversion later makes of the name.
    const QString name = document ? document->GetName() : QString();
    const QString extension = QFileInfo(name).suffix().toUpper();
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

QString UnreadableEntryText(const CEcardDocument& ecard)
{
    return QStringLiteral("Entry skipped: ") + ecard.DescribeCurrent()
           + QStringLiteral(" is neither text nor an IE element with TYPE, STYPE and REF\n");
}
} // namespace MessraSupport
