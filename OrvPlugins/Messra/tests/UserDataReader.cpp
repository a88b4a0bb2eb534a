#include "UserDataReader.h"

namespace UserDataReader {
namespace {
const int USER_DATA_OCTETS = 140;

void Fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

int Bit(const QByteArray& octets, int bit)
{
    return (uchar(octets.at(bit / 8)) >> (bit % 8)) & 1;
}
} // namespace

bool Parse(const QByteArray& tpud, UserData& out, QString* error)
{
    out = UserData();
    if (tpud.isEmpty() || tpud.size() > USER_DATA_OCTETS) {
        Fail(error, QStringLiteral("user data size %1").arg(tpud.size()));
        return false;
    }
    out.udhl = uchar(tpud.at(0));
    if (1 + out.udhl > tpud.size()) {
        Fail(error, QStringLiteral("header length %1 past the end").arg(out.udhl));
        return false;
    }
    int at = 1;
    while (at < 1 + out.udhl) {
        if (at + 2 > 1 + out.udhl) {
            Fail(error, QStringLiteral("element header past the header"));
            return false;
        }
        Element element;
        element.iei = uchar(tpud.at(at));
        const int length = uchar(tpud.at(at + 1));
        if (at + 2 + length > 1 + out.udhl) {
            Fail(error, QStringLiteral("element 0x%1 past the header").arg(element.iei, 0, 16));
            return false;
        }
        element.data = tpud.mid(at + 2, length);
        out.elements.push_back(element);
        at += 2 + length;
    }
    out.body = tpud.mid(1 + out.udhl);
    return true;
}

bool Septets(const QByteArray& tpud, int udhl, int count, QByteArray& septets, QString* error)
{
    septets.clear();
    const int headerBits = (udhl + 1) * 8;
    const int startBit = (headerBits + 6) / 7 * 7; // first septet boundary
    const int endBit = startBit + 7 * count;
    const int octets = (endBit + 7) / 8;
    if (count == 0 ? tpud.size() != udhl + 1 : tpud.size() != octets) {
        Fail(error, QStringLiteral("%1 septets need %2 octets, found %3").arg(count).arg(octets).arg(tpud.size()));
        return false;
    }
    for (int i = 0; i < count; ++i) {
        int value = 0;
        for (int b = 0; b < 7; ++b)
            value |= Bit(tpud, startBit + 7 * i + b) << b;
        septets.append(char(value));
    }
    for (int bit = endBit; bit < tpud.size() * 8; ++bit) {
        if (Bit(tpud, bit)) {
            Fail(error, QStringLiteral("padding bit %1 set").arg(bit));
            return false;
        }
    }
    return true;
}

std::vector<Element> ElementsOf(const UserData& ud, int iei)
{
    std::vector<Element> found;
    for (const Element& element : ud.elements)
        if (element.iei == iei)
            found.push_back(element);
    return found;
}

bool FindConcatenation(const UserData& ud, Concatenation& out)
{
    const std::vector<Element> found = ElementsOf(ud, 0x00);
    if (found.size() != 1 || found[0].data.size() != 3)
        return false;
    out.reference = uchar(found[0].data.at(0));
    out.total = uchar(found[0].data.at(1));
    out.segment = uchar(found[0].data.at(2));
    return true;
}

std::vector<EmsObject> EmsObjects(const UserData& ud)
{
    std::vector<EmsObject> objects;
    for (const Element& element : ud.elements) {
        if (element.iei < 0x0B || element.iei > 0x12 || element.data.isEmpty())
            continue;
        EmsObject object;
        object.iei = element.iei;
        object.position = uchar(element.data.at(0));
        object.data = element.data.mid(1);
        objects.push_back(object);
    }
    return objects;
}

bool ParseTdd(const QByteArray& data, TddElement& out)
{
    if (data.size() < 4)
        return false;
    out.lengthOctet = uchar(data.at(0));
    const int titleOctets = int(data.size()) - 4;
    out.title = data.mid(1, titleOctets);
    const int content = uchar(data.at(1 + titleOctets));
    out.contentType = content & 0x7F;
    out.copyrighted = (content & 0x80) != 0;
    out.total = (uchar(data.at(2 + titleOctets)) << 8) | uchar(data.at(3 + titleOctets));
    return true;
}

bool ParseTemplate(const QByteArray& bytes, bool& ucs2, std::vector<TemplateEntry>& entries, QString* error)
{
    entries.clear();
    if (bytes.isEmpty()) {
        Fail(error, QStringLiteral("empty template"));
        return false;
    }
    const int countOctet = uchar(bytes.at(0));
    ucs2 = (countOctet & 1) != 0;
    const int count = countOctet >> 1;
    int at = 1;
    for (int i = 0; i < count; ++i) {
        if (at + 3 > bytes.size()) {
            Fail(error, QStringLiteral("entry %1 header past the end").arg(i));
            return false;
        }
        TemplateEntry entry;
        entry.type = uchar(bytes.at(at));
        entry.length = uchar(bytes.at(at + 1)) | (uchar(bytes.at(at + 2)) << 8);
        const int dataOctets = (entry.type == 0 && !ucs2) ? (7 * entry.length + 7) / 8 : entry.length;
        if (at + 3 + dataOctets > bytes.size()) {
            Fail(error, QStringLiteral("entry %1 data past the end").arg(i));
            return false;
        }
        entry.data = bytes.mid(at + 3, dataOctets);
        entries.push_back(entry);
        at += 3 + dataOctets;
    }
    if (at != bytes.size()) {
        Fail(error, QStringLiteral("%1 octets after the last entry").arg(bytes.size() - at));
        return false;
    }
    return true;
}

QByteArray PackSeptets(const QByteArray& septets)
{
    QByteArray octets((7 * septets.size() + 7) / 8, '\0');
    for (int i = 0; i < septets.size(); ++i)
        for (int b = 0; b < 7; ++b)
            if ((uchar(septets.at(i)) >> b) & 1) {
                const int bit = 7 * i + b;
                octets[bit / 8] = char(uchar(octets.at(bit / 8)) | (1 << (bit % 8)));
            }
    return octets;
}

QByteArray UnpackSeptets(const QByteArray& octets, int count)
{
    QByteArray septets;
    for (int i = 0; i < count; ++i) {
        int value = 0;
        for (int b = 0; b < 7; ++b) {
            const int bit = 7 * i + b;
            if (bit / 8 < octets.size())
                value |= Bit(octets, bit) << b;
        }
        septets.append(char(value));
    }
    return septets;
}
} // namespace UserDataReader
