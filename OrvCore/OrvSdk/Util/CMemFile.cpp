#include "Util/CMemFile.h"
#include "Util/Assert.h"
#include "Util/SafeFileWrite.h"

#include <QFile>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/mman.h>

namespace {
// A buffer of megabytes asks the system for huge pages (where it gives them on
// request): its first writes then take one page fault for every 2 MiB rather
// than one for every 4 KiB, most of what filling a long sound costs. The advice
// covers every page the buffer touches, so that the huge pages can start where
// its mapping does.
void AdviseHugePages(uchar* buffer, uint64_t size)
{
#ifdef MADV_HUGEPAGE
    constexpr uint64_t kHugePage = uint64_t(2) << 20;
    constexpr uintptr_t kPage = 4096;
    if (size < kHugePage)
        return;
    const uintptr_t first = reinterpret_cast<uintptr_t>(buffer) & ~(kPage - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(buffer) + uintptr_t(size) + kPage - 1) & ~(kPage - 1);
    ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE); // only advice: a refusal costs nothing
#else
    (void)buffer;
    (void)size;
#endif
}
} // namespace

CMemFile::CMemFile() = default;

CMemFile::~CMemFile()
{
    std::free(m_pBuffer);
}

// Grows to the needed size plus a tenth of headroom; never shrinks. Grown in
// place where it can be, a large buffer is never copied: the pages it already
// has are moved. The new room is left as it comes: nothing reads past the
// size, and a write past the size zeroes the gap it leaves (see Write), so
// only the pages written are ever touched.
bool CMemFile::Reserve(uint64_t needed)
{
    if (needed <= m_Capacity)
        return true;
    if (needed > UINT32_MAX)
        return false;
    uint64_t wanted = needed + needed / 10;
    if (wanted > UINT32_MAX)
        wanted = UINT32_MAX;
    uchar* grown = static_cast<uchar*>(std::realloc(m_pBuffer, static_cast<size_t>(wanted)));
    if (!grown)
        return false; // the old buffer stays as it was
    m_pBuffer = grown;
    m_Capacity = static_cast<uint32_t>(wanted);
    AdviseHugePages(m_pBuffer, m_Capacity);
    return true;
}

uchar* CMemFile::TakeBuffer()
{
    uchar* const buffer = m_pBuffer;
    m_pBuffer = nullptr;
    m_Capacity = 0;
    m_Size = 0;
    m_Position = 0;
    return buffer;
}

bool CMemFile::FixMode(int mode)
{
    if (m_Mode == ModeNone) {
        m_Mode = mode;
        return true;
    }
    return m_Mode == mode;
}

bool CMemFile::SetText(const char* text)
{
    if (m_Mode == ModeBinary || !text)
        return false;
    const uint64_t bytes = uint64_t(std::strlen(text)) + 1;
    if (!Reserve(bytes))
        return false;
    m_Mode = ModeText;
    std::memcpy(m_pBuffer, text, static_cast<size_t>(bytes));
    m_Size = static_cast<uint32_t>(bytes);
    return true;
}

bool CMemFile::SetData(const uchar* data, uint size)
{
    if (m_Mode == ModeText || (!data && size))
        return false;
    if (!Reserve(size))
        return false;
    m_Mode = ModeBinary;
    if (size)
        std::memcpy(m_pBuffer, data, size);
    m_Size = size;
    return true;
}

uint CMemFile::Write(const void* p, uint itemSize, uint count)
{
    const uint64_t bytes = uint64_t(itemSize) * count;
    if (bytes == 0)
        return count;
    if (!p)
        return 0;
    const uint64_t end = uint64_t(m_Position) + bytes;
    if (!Reserve(end))
        return 0;
    // A position beyond the size leaves a gap that reads back as zeros, as
    // after fseek past the end of a stdio file.
    if (m_Position > m_Size)
        std::memset(m_pBuffer + m_Size, 0, m_Position - m_Size);
    std::memcpy(m_pBuffer + m_Position, p, static_cast<size_t>(bytes));
    m_Position = static_cast<uint32_t>(end);
    if (m_Position > m_Size)
        m_Size = m_Position;
    return count;
}

uint CMemFile::Read(void* p, uint itemSize, uint count)
{
    if (itemSize == 0 || count == 0 || !p || m_Position >= m_Size)
        return 0;
    const uint64_t remaining = m_Size - m_Position;
    uint64_t items = count;
    if (uint64_t(itemSize) * count > remaining)
        items = remaining / itemSize;
    const uint64_t bytes = items * itemSize;
    if (bytes)
        std::memcpy(p, m_pBuffer + m_Position, static_cast<size_t>(bytes));
    m_Position += static_cast<uint32_t>(bytes);
    return static_cast<uint>(items);
}

int CMemFile::Seek(long offset, int origin)
{
    int64_t base = 0;
    switch (origin) {
    case 0:
        base = 0;
        break;
    case 1:
        base = m_Position;
        break;
    case 2:
        base = m_Size;
        break;
    default:
        return -1;
    }
    const int64_t target = base + int64_t(offset);
    // A position before the start or past 32 bits could never be written safely.
    if (target < 0 || target > int64_t(UINT32_MAX))
        return -1;
    m_Position = static_cast<uint32_t>(target);
    return 0;
}

int CMemFile::Rewind()
{
    m_Position = 0;
    return 0;
}

QByteArray CMemFile::Bytes() const
{
    return QByteArray(reinterpret_cast<const char*>(m_pBuffer), qsizetype(m_Size));
}

QByteArray CMemFile::View() const
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(m_pBuffer), qsizetype(m_Size));
}

bool CMemFile::CopyToArray(QByteArray* pArray) const
{
    ASSERT(pArray);
    if (!pArray)
        return false;
    if (m_Size > uint32_t(INT_MAX))
        return false;
    *pArray = QByteArray(reinterpret_cast<const char*>(m_pBuffer), int(m_Size));
    return true;
}

bool CMemFile::WriteFile(const char* path, int mode)
{
    if (mode != ModeBinary && mode != ModeText)
        return false;
    if (!FixMode(mode))
        return false;
    if (m_Capacity == 0 || !path)
        return false;
    return WriteBytesSafely(QFile::decodeName(path), View());
}

bool CMemFile::ReadFile(const char* path, int mode)
{
    if (mode != ModeBinary && mode != ModeText)
        return false;
    if (m_Mode != ModeNone)
        return false;
    m_Mode = mode;
    if (!path)
        return false;
    const int count = GetFileSize(path, mode == ModeText ? "rt" : "rb");
    if (count < 0)
        return false;
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return false;
    if (!Reserve(uint64_t(count))) {
        std::fclose(file);
        return false;
    }
    const size_t got = count ? std::fread(m_pBuffer, 1, size_t(count), file) : 0;
    std::fclose(file);
    // Only what was actually read is valid, whatever the file claimed.
    m_Size = static_cast<uint32_t>(got);
    return got == size_t(count);
}

int CMemFile::GetFileSize(const char* path, const char* fopenMode)
{
    FILE* file = (path && fopenMode) ? std::fopen(path, fopenMode) : nullptr;
    if (!file) {
        std::printf("Catastrophic error!\n");
        return -1;
    }
    int64_t total = 0;
    char piece[100];
    for (;;) {
        const size_t got = std::fread(piece, 1, sizeof(piece), file);
        if (std::ferror(file)) {
            std::perror("Read error");
            std::fclose(file);
            return int(total);
        }
        total += int64_t(got);
        if (total > INT_MAX) {
            // Too large for a 32-bit size: report it like an unreadable file.
            std::fclose(file);
            return -1;
        }
        if (got < sizeof(piece))
            break;
    }
    std::fclose(file);
    return int(total);
}
