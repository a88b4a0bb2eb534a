#include "Wave/CDocumentWave.h"
#include "Util/AllocationFailure.h"
#include "Util/Assert.h"
#include "Wave/ToneSamples.h"

#include <QFile>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

CDocumentWave::CDocumentWave()
    : m_pInputData(nullptr), m_pOutputData(nullptr), m_nTmpChannels(0), m_nTmpSamplingRate(0), m_ulTmpFrameCount(0),
      m_nTmpBitsPerSampleOut(0), m_pLeftBuffer(nullptr), m_pRightBuffer(nullptr), m_ulRealAllocatedSize(0)
{
    std::memset(&m_WAVEheader, 0, sizeof m_WAVEheader);
    std::memset(&m_OutputWAVEheader, 0, sizeof m_OutputWAVEheader);
}

CDocumentWave::CDocumentWave(const QString& name) : CDocumentWave()
{
    m_Name = name;
}

CDocumentWave::~CDocumentWave()
{
    ASSERT(m_pOutputData == (0L));
    ASSERT(m_pLeftBuffer == (0L));
    ASSERT(m_pRightBuffer == (0L));
    // Owners should have freed these; free them anyway rather than leak.
    delete[] m_pOutputData;
    FreeWorkBuffers();
    FreeInputData();
}

void CDocumentWave::FreeInputData()
{
    // Shared samples belong to the array they lie in.
    if (m_SharedInput.isNull())
        std::free(m_pInputData);
    m_SharedInput = QByteArray();
    m_pInputData = nullptr;
}

int CDocumentWave::GetDocType()
{
    return CDocument::WAVE;
}

bool CDocumentWave::CreateHeader(unsigned int nSamplingRate, int nBitsPerSample, int nChannels)
{
    ASSERT(m_WAVEheader.data_ckSize == 0);
    WAVEHEADER header;
    std::memset(&header, 0, sizeof header);
    header.wFormatTag = 1;
    header.nChannels = uint16_t(nChannels);
    header.nSamplesPerSec = nSamplingRate;
    header.nBitsPerSample = uint16_t(nBitsPerSample);
    m_WAVEheader = MakeCanonicalWaveHeader(header, 0);
    return CheckHeader(m_WAVEheader) == 0 && CheckFormat(m_WAVEheader) == 1;
}

void CDocumentWave::SetHeader(const void* header)
{
    ASSERT(header != (0L));
    if (header)
        std::memcpy(&m_WAVEheader, header, sizeof m_WAVEheader);
}

uint32_t CDocumentWave::InputBytesHeld() const
{
    return m_pInputData ? std::min(m_WAVEheader.data_ckSize, m_ulRealAllocatedSize) : 0;
}

unsigned int CDocumentWave::SetInputData(const void* datas, unsigned int size)
{
    ASSERT(m_pInputData == (0L));
    // The check prints its condition as written.
    // clang-format off
    ASSERT(m_ulRealAllocatedSize==0);
    // clang-format on
    ASSERT(m_pOutputData == (0L));
    ASSERT(datas != (0L));
    ASSERT(m_WAVEheader.data_ckSize == size);
    if (!datas)
        return 0;
    // At least one byte, so that a document with an empty data chunk still
    // holds input.
    unsigned char* buffer = static_cast<unsigned char*>(std::malloc(std::max(size, 1u)));
    if (!buffer)
        AllocationFailure::Raise();
    std::memcpy(buffer, datas, size);
    FreeInputData();
    m_pInputData = buffer;
    m_ulRealAllocatedSize = size;
    return size;
}

unsigned int CDocumentWave::AdoptInputData(unsigned char* buffer, unsigned int offset, unsigned int size)
{
    ASSERT(m_pInputData == (0L));
    ASSERT(m_pOutputData == (0L));
    ASSERT(buffer != (0L));
    ASSERT(m_WAVEheader.data_ckSize == size);
    if (!buffer)
        return 0;
    std::memmove(buffer, buffer + offset, size);
    // Cutting a buffer down never fails in practice; if it does, the longer one serves.
    if (unsigned char* cut = static_cast<unsigned char*>(std::realloc(buffer, std::max(size, 1u))))
        buffer = cut;
    FreeInputData();
    m_pInputData = buffer;
    m_ulRealAllocatedSize = size;
    return size;
}

unsigned char* CDocumentWave::AllocateInputData(unsigned int size)
{
    ASSERT(m_pInputData == (0L));
    ASSERT(m_pOutputData == (0L));
    ASSERT(m_WAVEheader.data_ckSize == size);
    unsigned char* buffer = static_cast<unsigned char*>(std::calloc(std::max(size, 1u), 1));
    if (!buffer)
        AllocationFailure::Raise();
    FreeInputData();
    m_pInputData = buffer;
    m_ulRealAllocatedSize = size;
    return buffer;
}

unsigned int CDocumentWave::ShareInputData(const QByteArray& bytes, qsizetype offset, unsigned int size)
{
    // An array over bytes it does not own (fromRawData) could lose them under the document: those are copied.
    if (offset < 0 || offset > bytes.size() || qsizetype(size) > bytes.size() - offset || bytes.capacity() == 0)
        return SetInputData(offset >= 0 && offset <= bytes.size() ? bytes.constData() + offset : nullptr, size);
    ASSERT(m_pInputData == (0L));
    ASSERT(m_pOutputData == (0L));
    ASSERT(m_WAVEheader.data_ckSize == size);
    FreeInputData();
    m_SharedInput = bytes;
    // Read only: nothing writes to input samples it has not grown itself (see ReserveInputData).
    m_pInputData = reinterpret_cast<unsigned char*>(const_cast<char*>(m_SharedInput.constData())) + offset;
    m_ulRealAllocatedSize = size;
    return size;
}

bool CDocumentWave::ReserveInputData(unsigned int size)
{
    if (m_pInputData && m_SharedInput.isNull() && m_ulRealAllocatedSize >= size)
        return true;
    const uint64_t capacity = std::min<uint64_t>(uint64_t(size) + size / 2, UINT32_MAX);
    const uint32_t held = InputBytesHeld();
    if (!m_SharedInput.isNull()) {
        // Shared samples are never written to: growing makes them the document's own.
        unsigned char* own = static_cast<unsigned char*>(std::malloc(std::max<size_t>(held, 1)));
        if (!own)
            AllocationFailure::Raise();
        std::memcpy(own, m_pInputData, held);
        FreeInputData();
        m_pInputData = own;
    }
    // Grown in place where it can be: a large buffer's pages are moved, not
    // copied, so a long sound built note by note touches each page once.
    unsigned char* buffer =
        static_cast<unsigned char*>(std::realloc(m_pInputData, size_t(std::max<uint64_t>(capacity, 1))));
    // Memory that is lacking fails the work, where a shorter sound would pass for a whole one.
    if (!buffer)
        AllocationFailure::Raise();
    // Past the samples held, the buffer reads as silence.
    std::memset(buffer + held, 0, size_t(capacity - held));
    m_pInputData = buffer;
    m_ulRealAllocatedSize = uint32_t(capacity);
    return true;
}

bool CDocumentWave::WriteWaveFile(const QString& path, const WAVEHEADER& header, const unsigned char* data)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const qint64 headerBytes = file.write(reinterpret_cast<const char*>(&header), sizeof header);
    qint64 dataBytes = 0;
    if (header.data_ckSize > 0)
        dataBytes = file.write(reinterpret_cast<const char*>(data), qint64(header.data_ckSize));
    file.close();
    return headerBytes == qint64(sizeof header) && dataBytes == qint64(header.data_ckSize)
           && file.error() == QFileDevice::NoError;
}

bool CDocumentWave::SaveInputWave(const QString& path)
{
    ASSERT(m_pInputData != (0L));
    if (m_WAVEheader.wFormatTag != 1)
        return false;
    // Only the samples actually held are written, and the header states them.
    const WAVEHEADER header = MakeCanonicalWaveHeader(m_WAVEheader, InputBytesHeld());
    m_WAVEheader.RIFF_ckSize = header.RIFF_ckSize;
    return WriteWaveFile(path, header, m_pInputData);
}

bool CDocumentWave::SaveOutputWave(const QString& path)
{
    ASSERT(m_pOutputData != (0L));
    if (!m_pOutputData)
        return false;
    RefreshOutputHeader();
    if (m_OutputWAVEheader.wFormatTag != 1)
        return false;
    return WriteWaveFile(path, m_OutputWAVEheader, m_pOutputData);
}

void CDocumentWave::FreeOutputData()
{
    ASSERT(m_pOutputData != (0L));
    delete[] m_pOutputData;
    m_pOutputData = nullptr;
}

bool CDocumentWave::HasOutputData() const
{
    return m_pOutputData != nullptr;
}

unsigned char* CDocumentWave::GetOutputData()
{
    ASSERT(m_pOutputData != 0);
    return m_pOutputData;
}
