#pragma once
#include <QByteArray>
#include <cstdint>

// A growable in-memory byte file with a position, read and written like a
// stdio stream (item size x count), used to build and parse binary formats
// and to move whole files between disk and memory.
class CMemFile
{
public:
    enum Mode
    {
        ModeNone = 0,
        ModeBinary = 1,
        ModeText = 2
    };

    CMemFile();
    virtual ~CMemFile();

    CMemFile(const CMemFile&) = delete;
    CMemFile& operator=(const CMemFile&) = delete;

    // Text mode: copies the text and its terminating NUL to the start of the
    // buffer; the size counts the NUL. Fails in binary mode or for a null text.
    bool SetText(const char* text);
    // Binary mode: copies size bytes to the start of the buffer. Fails in text mode.
    bool SetData(const uchar* data, uint size);

    // Both return the number of whole items transferred.
    uint Write(const void* p, uint itemSize, uint count);
    uint Read(void* p, uint itemSize, uint count);

    // origin 0: from the start, 1: from the position, 2: from the size.
    // 0 on success; -1 for an unknown origin or a target outside 0..4 GiB-1.
    int Seek(long offset, int origin);
    int Rewind();

    bool CopyToArray(QByteArray* pArray) const;
    // The bytes up to the size: a copy, or a view of the buffer itself that
    // holds only while the file is neither written nor destroyed.
    QByteArray Bytes() const;
    QByteArray View() const;

    // mode 1 binary, 2 text (the same bytes here). WriteFile fixes the mode
    // as the first operation would, and fails when nothing was ever stored;
    // the file holds exactly the bytes afterwards, or is left as it was when
    // any of them could not be written.
    bool WriteFile(const char* path, int mode);
    bool ReadFile(const char* path, int mode);
    static int GetFileSize(const char* path, const char* fopenMode);

    uint32_t GetPosition() const { return m_Position; }
    uint32_t GetSize() const { return m_Size; }
    uint32_t GetCapacity() const { return m_Capacity; }
    int GetMode() const { return m_Mode; }
    const uchar* GetBuffer() const { return m_pBuffer; }

    // Hands the buffer (from std::malloc, for std::free) to the caller and
    // leaves the file empty, its mode kept: the bytes move without a copy.
    uchar* TakeBuffer();

    // Room for needed bytes (plus a tenth) at once: a writer that knows how
    // much it will write grows the buffer once rather than write by write.
    bool Reserve(uint64_t needed);

private:
    // Fixes the mode on first use; false when it is already fixed to another.
    bool FixMode(int mode);

    uint32_t m_Position = 0;
    uint32_t m_Size = 0;
    uchar* m_pBuffer = nullptr;
    uint32_t m_Capacity = 0;
    int m_Mode = ModeNone;
};
