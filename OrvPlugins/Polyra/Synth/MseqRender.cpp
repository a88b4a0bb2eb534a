#include "MseqRender.h"

#include "FixedPoint.h"
#include "MseqFormat.h"
#include "MseqInterpreter.h"
#include "MseqRenderLimit.h"
#include "SynthTables.h"
#include "VoicePool.h"

#include "Plugin/CConversionLog.h"
#include "Util/AllocationFailure.h"
#include "Util/CMemFile.h"
#include "Wave/WaveHeader.h"

#include <QString>
#include <QtDebug>

#include <atomic>
#include <cstring>
#include <memory>

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "samples are written in the wave file's byte order");

namespace {
std::atomic<bool> g_StopRequested{false};
std::atomic<int64_t> g_RenderLimit{MseqDefaultRenderLimit};

constexpr int SampleRate = 8000;
constexpr int BlockSize = VoiceAlgorithms::BlockSize;
constexpr int VersionMajor = 1;
constexpr int VersionMinor = 9;
// "Conversion error : " and the error table's text of code 17, as the
// pipeline reports its own errors.
const char* const NotMseqError = "Conversion error : NOT AN MSEQ FILE\t\t              ";

WAVEHEADER MonoWaveHeader(uint32_t dataSize)
{
    WAVEHEADER header{};
    header.wFormatTag = 1;
    header.nChannels = 1;
    header.nSamplesPerSec = SampleRate;
    header.nBitsPerSample = 16;
    return MakeCanonicalWaveHeader(header, dataSize);
}

void Log(CConversionLog* log, const QString& text)
{
    if (log)
        log->AddText(CConversionLog::SUMMARY, text);
}

QString RangeLine(const char* name, int value, bool saturated)
{
    return saturated ? QString::asprintf("%s         SATURATION\n", name)
                     : QString::asprintf("%s         %d\n", name, value);
}

// Gathers the blocks into larger writes into the wave, which the render has
// sized for all of them.
class CSampleWriter
{
public:
    explicit CSampleWriter(CMemFile& wave) : m_Wave(wave) {}
    void Append(const int16_t block[BlockSize])
    {
        std::memcpy(m_Buffer + m_Used, block, BlockSize * sizeof(int16_t));
        m_Used += BlockSize;
        if (m_Used == BufferSamples)
            Flush();
    }
    // A wave that cannot grow is out of memory, as any allocation that fails:
    // the source fails for it rather than be judged on part of its sound.
    void Flush()
    {
        const uint written = m_Wave.Write(m_Buffer, sizeof(int16_t), uint(m_Used));
        if (written != uint(m_Used))
            AllocationFailure::Raise();
        m_Used = 0;
    }

private:
    static constexpr int BufferSamples = 64 * BlockSize;
    CMemFile& m_Wave;
    int16_t m_Buffer[BufferSamples];
    int m_Used = 0;
};

// One block on: the time to the next command falls by a block and the
// commands then due are played. False at the end of the sequence.
bool NextBlock(CMseqInterpreter& interpreter, int64_t& timeToNext)
{
    timeToNext -= BlockSize;
    return timeToNext >= 1 || interpreter.Advance(timeToNext);
}

// The samples a render of the sequence writes: its commands walked block by
// block as the render walks them, starting no voice, up to the limit.
int64_t RenderedSamples(const CMemFile& sequence, uint32_t atb, int64_t limit)
{
    CMseqInterpreter walk(sequence.GetBuffer(), sequence.GetSize(), atb, nullptr, nullptr);
    int64_t timeToNext = 0;
    int64_t samples = 0;
    while (samples < limit && NextBlock(walk, timeToNext))
        samples += BlockSize;
    return samples;
}
} // namespace

bool MseqStopRequested()
{
    return g_StopRequested.load(std::memory_order_relaxed);
}

void MseqSetStop(bool stop)
{
    g_StopRequested.store(stop, std::memory_order_relaxed);
}

int64_t MseqRenderLimit()
{
    return g_RenderLimit.load(std::memory_order_relaxed);
}

void MseqSetRenderLimit(int64_t samples)
{
    g_RenderLimit.store(samples > 0 ? samples : MseqDefaultRenderLimit, std::memory_order_relaxed);
}

float MseqRender(CMemFile& sequence, CMemFile& wave, CConversionLog* log, IMseqProgressSink* progress)
{
    sequence.Rewind();
    const uint32_t headerPosition = wave.GetPosition();
    const WAVEHEADER placeholder = MonoWaveHeader(0);
    wave.Write(&placeholder, sizeof placeholder, 1);

    int16_t noiseTable[SynthTables::NoiseTableSize];
    SynthTables::FillNoiseTable(noiseTable);

    uchar header[Mseq::HeaderSize] = {};
    if (sequence.Read(header, 1, sizeof header) != sizeof header || std::memcmp(header, ".SEQ", 4) != 0) {
        if (log)
            log->AddText(CConversionLog::SUMMARY | CConversionLog::DETAILED, QString::fromLatin1(NotMseqError));
        return -1.0f;
    }
    Log(log, QString::asprintf("Version: %d.%d\t", VersionMajor, VersionMinor));
    Log(log, QStringLiteral("LOG REPORT\n"));

    const uint32_t atb = uint32_t(header[Mseq::HeaderAtbOffset]) | (uint32_t(header[Mseq::HeaderAtbOffset + 1]) << 8)
                         | (uint32_t(header[Mseq::HeaderAtbOffset + 2]) << 16);
    // The voice pool is large; it lives on the heap rather than the stack.
    auto pool = std::make_unique<CVoicePool>();
    pool->Reset();
    FixedPoint::set_wrap();
    CMseqInterpreter interpreter(sequence.GetBuffer(), sequence.GetSize(), atb, pool.get(), log);
    const int64_t limit = MseqRenderLimit();
    // The wave is sized once for the whole render rather than grown as it fills.
    if (!wave.Reserve(uint64_t(wave.GetPosition()) + uint64_t(RenderedSamples(sequence, atb, limit)) * sizeof(int16_t)))
        AllocationFailure::Raise();
    CSampleWriter writer(wave);

    const uint32_t fileSize = sequence.GetSize();
    int64_t timeToNext = 0;
    int64_t samples = 0;
    int lowest = 32767, highest = -32768;
    int lastPercent = -1;
    bool cancelled = false;
    while (true) {
        if (!NextBlock(interpreter, timeToNext))
            break; // the words ran out: the end of the sequence
        const int percent = fileSize ? int(uint64_t(interpreter.Position()) * 100 / fileSize) : 100;
        if (percent != lastPercent) {
            lastPercent = percent;
            qDebug("%d done", percent);
            if (progress)
                progress->ReportProgress("Processing", percent, 3);
        }
        if (MseqStopRequested()) {
            cancelled = true;
            break;
        }

        int16_t mix[BlockSize] = {};
        pool->RenderBlock(mix, interpreter.ChannelVolumes(), noiseTable);
        for (int16_t sample : mix) {
            lowest = sample < lowest ? sample : lowest;
            highest = sample > highest ? sample : highest;
        }
        samples += BlockSize;
        writer.Append(mix);
        if (samples >= limit) {
            Log(log, QString::asprintf("render stopped: longer than %lld samples\n", static_cast<long long>(limit)));
            break;
        }
    }

    if (cancelled) {
        Log(log, QStringLiteral("conversion annulee\n"));
        wave.Rewind();
        return -1.0f;
    }
    writer.Flush();

    const uint32_t dataSize = wave.GetPosition() - headerPosition - uint32_t(sizeof(WAVEHEADER));
    Log(log, QString::asprintf("length (secondes): %f\n", double(dataSize) / (2.0 * SampleRate)));
    Log(log, QString::asprintf("processed samples: %d\n", int(samples)));
    const bool lowSaturated = lowest == -32768;
    const bool highSaturated = highest == 32767;
    Log(log, RangeLine("range_min:", lowest, lowSaturated));
    Log(log, RangeLine("range_max:", highest, highSaturated));
    // Full scale gives 1, and so does a render with no sound above 0 (none
    // at all, or all silent), which has no peak to scale to.
    const int peak = -lowest > highest ? -lowest : highest;
    const float scale = (lowSaturated || highSaturated || peak <= 0) ? 1.0f : 32767.0f / float(peak);
    Log(log, QString::asprintf("scale_factor:      %f\n", double(scale)));

    const uint32_t end = wave.GetPosition();
    const WAVEHEADER final = MonoWaveHeader(dataSize);
    wave.Seek(long(headerPosition), 0);
    wave.Write(&final, sizeof final, 1);
    wave.Seek(long(end), 0);
    return scale;
}
