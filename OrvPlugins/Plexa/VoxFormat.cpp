#include "VoxFormat.h"

#include "VoxVocoders.h"

#include "Util/CMemFile.h"

#include <cstring>

namespace {
const char kMagic[4] = {'.', 'V', 'O', 'X'};

bool ReadWord(CMemFile& file, uint16_t& word)
{
    uchar bytes[2];
    if (file.Read(bytes, 1, 2) != 2)
        return false;
    word = uint16_t(bytes[0] | (bytes[1] << 8));
    return true;
}

bool WriteWord(CMemFile& file, uint16_t word)
{
    const uchar bytes[2] = {uchar(word & 0xFF), uchar(word >> 8)};
    return file.Write(bytes, 1, 2) == 2;
}

// Only these vocoders carry payload bits in the flag word, and only in a
// transmitted frame: their frames end a few bits past a word boundary.
bool FlagWordCarriesPayload(uint16_t flags)
{
    if (VoxFlags::Bfi(flags))
        return false;
    const int id = VoxFlags::VocoderId(flags);
    return id == 0 || id == 1 || id == 12 || id == 15;
}
} // namespace

void WriteVoxMagic(CMemFile& file)
{
    file.Write(kMagic, 1, sizeof(kMagic));
}

bool CheckVoxMagic(CMemFile& file)
{
    char bytes[4];
    return file.Read(bytes, 1, 4) == 4 && std::memcmp(bytes, kMagic, 4) == 0;
}

bool VoxMessageAccepted(const VoxFrame& frame)
{
    const int length = VoxMessageLength(frame);
    return VoxMessageType(frame) == kVoxDataPlay && length >= 2 && length <= kVoxMaxWords;
}

bool ReadVoxMessage(CMemFile& file, VoxFrame& frame)
{
    uint16_t header = 0;
    if (!ReadWord(file, header))
        return false;
    const int length = header >> 8;
    if (length == 0)
        return false;
    frame.words[0] = header;
    std::memset(frame.words + 1, 0, sizeof(frame.words) - sizeof(frame.words[0]));
    if (!VoxMessageAccepted(frame)) {
        // A foreign message, or one too short to hold its own flag word.
        const uint32_t skip = uint32_t(length - 1) * 2;
        if (file.GetSize() - file.GetPosition() < skip)
            return false;
        return file.Seek(long(skip), 1) == 0;
    }
    uchar bytes[2 * kVoxMaxWords];
    const uint count = uint(length - 1);
    if (file.Read(bytes, 2, count) != count)
        return false;
    for (uint i = 0; i < count; ++i)
        frame.words[i + 1] = uint16_t(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    const uint16_t flagWord = frame.words[length - 1];
    frame.words[length - 1] = flagWord & 0x1F;
    uint16_t flags = frame.flags & 0xFC00;
    flags |= (flagWord >> 15) & 1;
    flags |= ((flagWord >> 14) & 1) << 1;
    flags |= ((flagWord >> 13) & 1) << 2;
    flags |= ((flagWord >> 8) & 0x0F) << VoxFlags::kVocoderShift;
    flags |= ((flagWord >> 5) & 0x07) << VoxFlags::kRxShift;
    frame.flags = flags;
    return true;
}

bool WriteVoxMessage(CMemFile& file, VoxFrame& frame)
{
    const int length = VoxMessageLength(frame);
    // A message shorter than two words would have no flag word.
    if (length < 2 || length > kVoxMaxWords)
        return false;
    if (!FlagWordCarriesPayload(frame.flags))
        frame.words[length - 1] = 0;
    if (!WriteWord(file, frame.words[0]))
        return false;
    const uint16_t flags = frame.flags;
    uint16_t flagWord = frame.words[length - 1] & 0x1F;
    flagWord |= uint16_t(VoxFlags::Bfi(flags)) << 15;
    flagWord |= uint16_t(VoxFlags::Taf(flags)) << 14;
    flagWord |= uint16_t(VoxFlags::Ufi(flags)) << 13;
    flagWord |= uint16_t(VoxFlags::VocoderId(flags)) << 8;
    flagWord |= uint16_t(VoxFlags::RxType(flags)) << 5;
    for (int i = 1; i < length - 1; ++i)
        if (!WriteWord(file, frame.words[i]))
            return false;
    return WriteWord(file, flagWord);
}
