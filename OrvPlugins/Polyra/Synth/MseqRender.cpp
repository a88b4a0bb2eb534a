#include "MseqRender.h"

#include "MseqFormat.h"
#include "Util/CMemFile.h"
#include "Plugin/CConversionLog.h"
#include "Wave/WaveHeader.h"

#include <atomic>

namespace
{
std::atomic<bool> g_StopRequested{false};
}

bool MseqStopRequested()
{
    return g_StopRequested.load(std::memory_order_relaxed);
}

void MseqSetStop(bool stop)
{
    g_StopRequested.store(stop, std::memory_order_relaxed);
}

float MseqRender(CMemFile& sequence, CMemFile& wave, CConversionLog* log, IMseqProgressSink* progress)
{
    (void)log;
    (void)progress;
    sequence.Rewind();
    // Until the synthesiser is in, a valid sequence renders as an empty wave.
    WAVEHEADER header{};
    header.nChannels = 1;
    header.nSamplesPerSec = 8000;
    header.nBitsPerSample = 16;
    header.wFormatTag = 1;
    header = MakeCanonicalWaveHeader(header, 0);
    wave.Write(&header, sizeof header, 1);
    uchar seqHeader[Mseq::HeaderSize] = {};
    if (sequence.Read(seqHeader, 1, sizeof seqHeader) != sizeof seqHeader || seqHeader[0] != '.')
        return -1.0f;
    return 1.0f;
}
