#include "SmsMediaChecks.h"
#include "Util/Assert.h"

namespace SmsMediaChecks {
namespace {
enum
{
    EMS_VARIABLE_PICTURE_HEIGHT_OCTET = 1,
    KIND_LARGE_PICTURE = 5,
    KIND_SMALL_PICTURE = 6,
    KIND_VARIABLE_PICTURE = 7,
    MAX_FRAME_OCTETS = 128,
    TIME_WORD_MARK = 0xF0
};

int Octet(const QByteArray& bytes, qsizetype index)
{
    return uchar(bytes.at(index));
}

// Octets of a monochrome picture body: two size octets and one octet per
// column and band of eight rows.
qsizetype MonochromeBodySize(int width, int height)
{
    return 2 + qsizetype(width) * ((height + 7) / 8);
}
} // namespace

int SplitPictureFile(const QByteArray& file, QByteArray& content)
{
    if (file.size() >= 2) {
        // Width in octets, height in pixels; the width is compared as it stands, so a
        // width of 34 octets is never mistaken for 2.
        const int w = Octet(file, 0) * 8;
        if ((w == 16 || w == 32) && Octet(file, 1) == w) {
            content = file.mid(2);
            return w == 32 ? KIND_LARGE_PICTURE : KIND_SMALL_PICTURE;
        }
    }
    content = file;
    return KIND_VARIABLE_PICTURE;
}

bool CheckVariablePicture(QByteArray& content)
{
    ASSERT(content.size() > EMS_VARIABLE_PICTURE_HEIGHT_OCTET);
    if (content.size() <= EMS_VARIABLE_PICTURE_HEIGHT_OCTET)
        return false;
    const int width = Octet(content, 0);
    const int height = Octet(content, EMS_VARIABLE_PICTURE_HEIGHT_OCTET);
    const qsizetype pixelOctets = content.size() - 2;
    const int product = width * height;

    if (product <= MAX_VARIABLE_PICTURE_OCTETS && product == pixelOctets)
        return true;
    if (width % 8 == 0 && product / 8 <= MAX_VARIABLE_PICTURE_OCTETS && product / 8 == pixelOctets) {
        content[0] = char(width / 8);
        return true;
    }
    return false;
}

bool CheckPicture(const QByteArray& file)
{
    if (file.size() < 2)
        return false;
    const int width = Octet(file, 0);
    const int height = Octet(file, 1);
    if (width == 0 || file.size() != MonochromeBodySize(width, height))
        return false;
    return width * height / 8 < 127 || (width == 32 && height == 32);
}

bool CheckFrameTable(const QByteArray& file)
{
    if (file.size() < 2)
        return false;
    const int entryCount = Octet(file, 0) | (Octet(file, 1) << 8);
    if (2 + 2 * qsizetype(entryCount) > file.size())
        return false;

    int frameCount = 0;
    for (int entry = 0; entry < entryCount; ++entry) {
        const qsizetype at = 2 + 2 * qsizetype(entry);
        const int low = Octet(file, at);
        const int high = Octet(file, at + 1);
        if ((high & TIME_WORD_MARK) == TIME_WORD_MARK)
            continue;
        const qsizetype offset = low | (high << 8);
        if (++frameCount > ANIMATION_FRAME_COUNT || offset + 2 > file.size())
            return false;
        const int width = Octet(file, offset);
        const int height = Octet(file, offset + 1);
        if (width == 0 || width % 8 != 0 || (width / 8) * height > MAX_FRAME_OCTETS)
            return false;
        if (offset + MonochromeBodySize(width, height) > file.size())
            return false;
    }
    return frameCount == ANIMATION_FRAME_COUNT;
}
} // namespace SmsMediaChecks
