#include "Import/EcardEntries.h"
#include "Import/CEcardDocument.h"
#include <QDir>
#include <QFileInfo>

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

QString FilePath(const QString& ref, const QString& baseFolder)
{
    if (QDir::isRelativePath(ref))
        return baseFolder + QLatin1Char('/') + ref;
    return ref;
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

bool IsEcardSource(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const int dot = name.indexOf(QLatin1Char('.'));
    return dot >= 0 && QStringView(name).mid(dot + 1).compare(QLatin1String("ecd"), Qt::CaseInsensitive) == 0;
}

QString RootTagFor(const QString& translatorExtension)
{
    if (translatorExtension.compare(QLatin1String("EMS_SMS"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("ECARD");
    if (translatorExtension.compare(QLatin1String("TDD_SMS"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("TEMPLATE");
    return QString();
}

bool VisitFiles(const QByteArray& bytes, const QString& rootTag, const QString& baseFolder,
                const std::function<bool(const QString&)>& visit)
{
    CEcardDocument ecard(rootTag);
    QString message;
    if (rootTag.isEmpty() || !ecard.SetContent(bytes) || !ecard.Check(message) || !ecard.GetTextEncoding().IsKnown())
        return false;
    for (; !ecard.IsAtEnd(); ecard.Next()) {
        CEcardItem item;
        if (ecard.ReadCurrentItem(item) && ReadsFile(Classify(item.getType(), item.getSType()))
            && visit(FilePath(item.getRef(), baseFolder)))
            return true;
    }
    return false;
}

} // namespace EcardEntries
