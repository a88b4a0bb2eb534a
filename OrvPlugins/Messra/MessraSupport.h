#pragma once
#include <QByteArray>
#include <QString>

class CConversionLog;
class CDocument;
class CEcardDocument;
class CParameters;
class CProfile;
class CRunFiles;

// What the EMS and TDD translators share: the media size limit, source names and the melody rule.
namespace MessraSupport {
// Hands the profile's "MaxMediaSize" and the run's own files to the media items.
void TakeItemLimits(CProfile* profile, const CRunFiles* runFiles);

// Everything after the first "." of the file name, upper-cased: card.v2.ecd gives V2.ECD. A single media file
// becomes an item of that type.
QString CompleteExtension(const QString& path);
// Whether the translators read the source of that path as an e-card: when its complete extension is "ECD".
// card.v2.ecd is none: it is a single item of type "V2.ECD".
bool IsEcardSource(const QString& path);

// "TruncateMelody" is editable only for a melody, or for an e-card that
// holds one, told by the extension after the last "." of the document's name
// (tune.old.imy is a melody, card.v2.ecd an e-card); otherwise it is forced
// off and made constant.
void ApplyMelodyRule(CParameters* parameters, CDocument* document, const QString& rootTag);

// A new raw document holding a copy of the bytes; null when they cannot be copied.
CDocument* ImportBytes(const QByteArray& bytes);
// The bytes of a raw document; empty for any other document.
QByteArray BytesOf(CDocument* document);

// Every message of the translators goes to the summary and the detailed text.
void Log(CConversionLog& log, const QString& text);

// The line logged for a child of the e-card that is no item.
QString UnreadableEntryText(const CEcardDocument& ecard);
} // namespace MessraSupport
