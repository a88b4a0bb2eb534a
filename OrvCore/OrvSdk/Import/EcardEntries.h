#pragma once
// The entries of an e-card as its translators read them (CEcardDocument walks the root's children): each child
// that is text or an "IE" element with TYPE, STYPE and REF, what kind of item each is, and which file an item
// reads. The translators' items (CSmsItem) and their list of the files a card names both take these rules from
// here, so they always agree.
#include "Xml/XmlRootChildren.h"
#include <QByteArray>
#include <QString>
#include <QStringList>

class CEcardDocument;

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
// The entry a child of the root is: text becomes a "TXT" entry of that text. False for any other child, and for an
// "IE" element that lacks TYPE, STYPE or REF (or has one empty).
bool Read(const CXmlRootChildren::Node& child, CEntry& entry);

// Parses and checks the bytes as an e-card (the root ecard was made for, the prolog and a known text encoding),
// as the translators open every card. False with the reason, a line ended by a line feed, when it is not one.
bool Open(CEcardDocument& ecard, const QByteArray& bytes, QString& reason);

// The path of each file the entries of the opened card read, from its cursor on, in order: relative REFs from
// baseFolder (SourceNamedFiles::PathIn), as the items read them.
QStringList NamedFiles(CEcardDocument& ecard, const QString& baseFolder);

} // namespace EcardEntries
