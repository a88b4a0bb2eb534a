#pragma once
// The entries of an e-card as its translators read them (CEcardDocument walks the root's children): each child
// that is text or an "IE" element with TYPE, STYPE and REF, what kind of item each is, and which file an item
// reads. The translators' items
// (CSmsItem) and the host's check of the run log (SourceNamedFiles) both take these rules from here, so they
// always agree on the files an e-card names.
#include "Xml/XmlRootChildren.h"
#include <QByteArray>
#include <QString>
#include <functional>

namespace EcardEntries {

// What an entry is, by its TYPE and STYPE.
enum Kind
{
    Text,                // "TXT": REF is the text
    PredefinedSound,     // "IMY" "PRE": REF is a number
    PredefinedAnimation, // "EMA" "PRE": REF is a number
    LargePicture,        // "EMP" "LRG"
    SmallPicture,        // "EMP" "SML"
    UserPicture,         // "EMP" "USR"
    LargeAnimation,      // "EMA" "LRG"
    SmallAnimation,      // "EMA" "SML"
    UserAnimation,       // "EMA" "USR"
    IMelody,             // "IMY" "USR"
    PolyphonicSequence,  // "SEQ", whatever its STYPE
    SpeechClip,          // "VOX", whatever its STYPE
    OneLineMelody,       // "QBR", whatever its STYPE
    Picture,             // "PIC" "USR"
    Animation,           // "ANI", whatever its STYPE
    UnknownSubType,      // a known TYPE with a STYPE it does not take
    UnknownType
};

struct CEntry
{
    QString type;
    QString stype;
    QString ref;
};

Kind Classify(const QString& type, const QString& stype);
// Whether an item of that kind reads the file its REF names: every kind but texts, predefined objects and the
// unknown ones.
bool ReadsFile(Kind kind);
// The file a REF names: a relative name is taken from the e-card's folder.
QString FilePath(const QString& ref, const QString& baseFolder);

// The entry a child of the root is: text becomes a "TXT" entry of that text. False for any other child, and for an
// "IE" element that lacks TYPE, STYPE or REF (or has one empty).
bool Read(const CXmlRootChildren::Node& child, CEntry& entry);

// Whether the translators read the source of that path as an e-card: when all of its name after the first "." is
// "ecd" in any case. card.v2.ecd is not one: it is a single item of type "V2.ECD".
bool IsEcardSource(const QString& path);

// The root tag of the e-cards the translator of that export extension ("EMS_SMS", "TDD_SMS") reads; empty for
// any other.
QString RootTagFor(const QString& translatorExtension);

// Calls visit with the path of each file the entries of the e-card's bytes read, in order, until visit returns
// true; true when it did. The card is opened as the translators open it (CEcardDocument): one that is not
// well-formed, lacks the prolog's encoding or a known one, or has another root than rootTag, names nothing.
bool VisitFiles(const QByteArray& bytes, const QString& rootTag, const QString& baseFolder,
                const std::function<bool(const QString&)>& visit);

} // namespace EcardEntries
