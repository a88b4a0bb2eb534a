#include "Import/EcardEntries.h"
#include "Import/CEcardDocument.h"
#include "Import/SourceNamedFiles.h"

namespace EcardEntries {

Kind Classify(const QString& type, const QString& stype)
{
    const auto is = [](const QString& value, const char* name) { return value == QLatin1String(name); };
    if (is(type, "TXT"))
        return Text;
    if (is(type, "EMP")) {
        if (is(stype, "LRG"))
            return LargePicture;
        if (is(stype, "SML"))
            return SmallPicture;
        return is(stype, "USR") ? UserPicture : UnknownSubType;
    }
    if (is(type, "EMA")) {
        if (is(stype, "PRE"))
            return PredefinedAnimation;
        if (is(stype, "LRG"))
            return LargeAnimation;
        if (is(stype, "SML"))
            return SmallAnimation;
        return is(stype, "USR") ? UserAnimation : UnknownSubType;
    }
    if (is(type, "IMY")) {
        if (is(stype, "PRE"))
            return PredefinedSound;
        return is(stype, "USR") ? IMelody : UnknownSubType;
    }
    if (is(type, "SEQ"))
        return PolyphonicSequence;
    if (is(type, "VOX"))
        return SpeechClip;
    if (is(type, "QBR"))
        return OneLineMelody;
    // A picture of another STYPE is no item the cards know.
    if (is(type, "PIC"))
        return is(stype, "USR") ? Picture : UnknownType;
    if (is(type, "ANI"))
        return Animation;
    return UnknownType;
}

bool ReadsFile(Kind kind)
{
    switch (kind) {
    case Text:
    case PredefinedSound:
    case PredefinedAnimation:
    case UnknownSubType:
    case UnknownType:
        return false;
    default:
        return true;
    }
}

bool Read(const CXmlRootChildren::Node& child, CEntry& entry)
{
    if (child.kind == CXmlRootChildren::Node::Text) {
        entry = CEntry{QStringLiteral("TXT"), QString(), child.text};
        return true;
    }
    if (child.kind != CXmlRootChildren::Node::Element || child.name != QLatin1String("IE"))
        return false;
    entry.type = child.attributes.value(QStringLiteral("TYPE")).toString();
    entry.stype = child.attributes.value(QStringLiteral("STYPE")).toString();
    entry.ref = child.attributes.value(QStringLiteral("REF")).toString();
    return !entry.type.isEmpty() && !entry.stype.isEmpty() && !entry.ref.isEmpty();
}

bool Open(CEcardDocument& ecard, const QByteArray& bytes, QString& reason)
{
    reason.clear();
    if (!ecard.SetContent(bytes)) {
        reason = ecard.IsNestedTooDeeply() ? QStringLiteral("Ecard content is nested too deeply !\n")
                                           : QStringLiteral("Ecard content is not well-formed !\n");
        return false;
    }
    if (!ecard.Check(reason))
        return false;
    if (!ecard.GetTextEncoding().IsKnown()) {
        reason = QStringLiteral("Text encoding type was not recognized\n");
        return false;
    }
    return true;
}

QStringList NamedFiles(CEcardDocument& ecard, const QString& baseFolder)
{
    QStringList files;
    for (; !ecard.IsAtEnd(); ecard.Next()) {
        CEcardItem item;
        if (ecard.ReadCurrentItem(item) && ReadsFile(Classify(item.getType(), item.getSType())))
            files.append(SourceNamedFiles::PathIn(baseFolder, item.getRef()));
    }
    return files;
}

} // namespace EcardEntries
