#pragma once
#include <QByteArray>
#include <QString>

class CConversionLog;
class CDocument;
class CEcardDocument;
class CParameters;
class CProfile;
class CRunFiles;

// What the EMS and TDD translators share: the media size limit, source names, the
// melody rule and the opening of an e-card.
namespace MessraSupport {
// Hands the profile's "MaxMediaSize" and the run's own files to the media items.
void TakeItemLimits(CProfile* profile, const CRunFiles* runFiles);

// Everything after the first "." of the file name, upper-cased: card.v2.ecd gives V2.ECD.
QString CompleteExtension(const QString& path);
// Everything after the last "." of the name, upper-cased.
QString LastExtension(const QString& name);
QString FolderOf(const QString& path);

// "TruncateMelody" is editable only for a melody, or for an e-card that
// holds one; otherwise it is forced off and made constant.
void ApplyMelodyRule(CParameters* parameters, CDocument* document, const QString& rootTag);

// A new raw document holding a copy of the bytes; null when they cannot be copied.
CDocument* ImportBytes(const QByteArray& bytes);
// The bytes of a raw document; empty for any other document.
QByteArray BytesOf(CDocument* document);

// Every message of the translators goes to the summary and the detailed text.
void Log(CConversionLog& log, const QString& text);

// Parses and checks an e-card, logging the reason of a failure. An e-card
// whose text encoding is not recognised fails too.
bool OpenEcard(CEcardDocument& ecard, const QByteArray& bytes, CConversionLog& log);
// The line logged for a child of the e-card that is no item.
QString UnreadableEntryText(const CEcardDocument& ecard);
} // namespace MessraSupport
