#pragma once
// A reader of SMS TP-User-Data written from the 3GPP TS 23.040 layout alone,
// so the tests check the translators' output without using their code.
#include <QByteArray>
#include <QString>
#include <vector>

namespace UserDataReader {
struct Element
{
    int iei = -1;
    QByteArray data;
};

struct UserData
{
    int udhl = 0;
    std::vector<Element> elements;
    QByteArray body; // the octets after the header
};

// Splits TP-UD into its header elements and body. False, with a reason, when
// the header length or an element length runs past the data or past 140 octets.
bool Parse(const QByteArray& tpud, UserData& out, QString* error = nullptr);

// The septets of a GSM 7-bit body that begins on the first septet boundary after
// the header. False unless count septets fill exactly the octets that follow and
// every bit after the last septet is zero.
bool Septets(const QByteArray& tpud, int udhl, int count, QByteArray& septets, QString* error = nullptr);

// Elements with a given identifier.
std::vector<Element> ElementsOf(const UserData& ud, int iei);

struct Concatenation
{
    int reference = -1, total = -1, segment = -1;
};
// The 8-bit reference concatenation element, if there is exactly one.
bool FindConcatenation(const UserData& ud, Concatenation& out);

struct EmsObject
{
    int iei = -1;
    int position = -1;
    QByteArray data;
};
// EMS objects (IEI 0x0B to 0x12): a position octet, then the object.
std::vector<EmsObject> EmsObjects(const UserData& ud);

struct TddElement
{
    int lengthOctet = -1; // title length and UCS-2 flag as written
    QByteArray title;
    int contentType = -1;
    bool copyrighted = false;
    int total = -1;
};
bool ParseTdd(const QByteArray& data, TddElement& out);

struct TemplateEntry
{
    int type = -1;
    int length = -1;
    QByteArray data;
};
// A TDD e-card template: count octet (count x 2, bit 0 for UCS-2), then type,
// little-endian length and data per entry; GSM 7-bit texts count septets.
bool ParseTemplate(const QByteArray& bytes, bool& ucs2, std::vector<TemplateEntry>& entries, QString* error = nullptr);

// Packs septets least significant bit first with no fill: the form of a text
// template entry or a title.
QByteArray PackSeptets(const QByteArray& septets);
// Unpacks count septets from octets packed with no fill.
QByteArray UnpackSeptets(const QByteArray& octets, int count);
} // namespace UserDataReader
