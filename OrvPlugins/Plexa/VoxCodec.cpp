#include "VoxCodec.h"

#include "AmrAdaptor.h"
#include "CPlexa.h"
#include "PlexaLog.h"
#include "VoxCoders.h"
#include "VoxFormat.h"
#include "VoxFrame.h"
#include "VoxVocoders.h"

#include "Util/CMemFile.h"
#include "Wave/CDocumentWave.h"

#include <QtGlobal>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {
constexpr int kWavHeaderBytes = 44;
constexpr uint32_t kVoxRate = 8000;
constexpr int kFrameBytes = kVoxFrameSamples * 2;

uint16_t Le16(const unsigned char* p)
{
    return uint16_t(p[0] | (p[1] << 8));
}

uint32_t Le32(const unsigned char* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

void PutLe16(unsigned char* p, uint32_t v)
{
    p[0] = uchar(v);
    p[1] = uchar(v >> 8);
}

void PutLe32(unsigned char* p, uint32_t v)
{
    PutLe16(p, v);
    PutLe16(p + 2, v >> 16);
}

// The header checks in the order they are reported: the first one failing
// names the failure.
const char* CheckPcmHeader(const unsigned char* header)
{
    if (std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0
        || std::memcmp(header + 12, "fmt ", 4) != 0 || std::memcmp(header + 36, "data", 4) != 0)
        return "id_not_proper_wav_file";
    if (Le16(header + 20) != 1)
        return "id_only_pcm_type";
    if (Le16(header + 22) != 1)
        return "id_only_mono_wav_files";
    if (Le32(header + 24) != kVoxRate)
        return "id_sampling_rate";
    const int bits = Le16(header + 34);
    if (bits < 13)
        return "id_13_bits";
    if (bits > 16)
        return "id_16_bits";
    return nullptr;
}

// The samples being coded, read in place one frame at a time.
struct SampleReader
{
    const unsigned char* data;
    uint32_t size;
    uint32_t position;
};

bool ReadFrameSamples(SampleReader& input, VoxFrame& frame)
{
    if (input.size - input.position < uint32_t(kFrameBytes))
        return false;
    const unsigned char* bytes = input.data + input.position;
    for (int i = 0; i < kVoxFrameSamples; ++i)
        frame.samples[i] = int16_t(Le16(bytes + 2 * i));
    input.position += kFrameBytes;
    return true;
}

void PutFrameSamples(unsigned char* bytes, const VoxFrame& frame)
{
    for (int i = 0; i < kVoxFrameSamples; ++i)
        PutLe16(bytes + 2 * i, uint16_t(frame.samples[i]));
}

uint32_t WriteFrameSamples(CMemFile& output, const VoxFrame& frame)
{
    unsigned char bytes[kFrameBytes];
    PutFrameSamples(bytes, frame);
    return output.Write(bytes, 2, kVoxFrameSamples);
}

bool EncodeSamples(const unsigned char* header, SampleReader& input, CMemFile& output, const QString& vocoderName,
                   bool noDtx, CPlexa* converter);

const char* const kRxNames[8] = {"RX_SPEECH_GOOD", "RX_SPEECH_DEGRADED", "RX_ONSET",   "RX_SPEECH_BAD",
                                 "RX_SID_FIRST",   "RX_SID_UPDATE",      "RX_SID_BAD", "RX_NO_DATA"};
} // namespace

void WriteWavHeader(uint32_t dataSize, CMemFile& file)
{
    unsigned char header[kWavHeaderBytes];
    std::memcpy(header, "RIFF", 4);
    PutLe32(header + 4, 36 + dataSize);
    std::memcpy(header + 8, "WAVEfmt ", 8);
    PutLe32(header + 16, 16);
    PutLe16(header + 20, 1);
    PutLe16(header + 22, 1);
    PutLe32(header + 24, kVoxRate);
    PutLe32(header + 28, kVoxRate * 2);
    PutLe16(header + 32, 2);
    PutLe16(header + 34, 16);
    std::memcpy(header + 36, "data", 4);
    PutLe32(header + 40, dataSize);
    file.Write(header, 1, kWavHeaderBytes);
}

bool EncodeVox(const unsigned char* header, CMemFile& input, CMemFile& output, const QString& vocoderName, bool noDtx,
               CPlexa* converter)
{
    SampleReader reader = {input.GetBuffer(), input.GetSize(), std::min(input.GetPosition(), input.GetSize())};
    if (!EncodeSamples(header, reader, output, vocoderName, noDtx, converter)) {
        input.Seek(long(reader.position), 0);
        return false;
    }
    input.Rewind();
    return true;
}

bool EncodeVox(const unsigned char* header, const unsigned char* samples, uint32_t size, CMemFile& output,
               const QString& vocoderName, bool noDtx, CPlexa* converter)
{
    SampleReader reader = {samples, samples ? size : 0, 0};
    return EncodeSamples(header, reader, output, vocoderName, noDtx, converter);
}

namespace {
bool EncodeSamples(const unsigned char* header, SampleReader& input, CMemFile& output, const QString& vocoderName,
                   bool noDtx, CPlexa* converter)
{
    VoxFrame frame;
    frame.words[0] = kVoxDataPlay;
    frame.dtx = noDtx ? 0 : 1;

    const int vocoder = FindVocoder(vocoderName);
    if (vocoder < 0) {
        LogErrorId("id_not_in_list");
        ListVocoders();
        return false;
    }
    frame.flags = VoxFlags::WithVocoderId(frame.flags, vocoder);

    if (const char* failure = CheckPcmHeader(header)) {
        LogErrorId(failure);
        return false;
    }
    VoxCoderOps coder;
    if (!SelectVoxEncoder(vocoder, coder)) {
        LogErrorId("id_vocoder_not_implemented");
        return false;
    }
    WriteVoxMagic(output);
    if (coder.Init(frame) != 0) {
        LogErrorId("id_error_initializing_coder");
        return false;
    }

    const uint32_t inputSize = input.size;
    int lastPercent = -1;
    for (frame.count = 0; ReadFrameSamples(input, frame); ++frame.count) {
        coder.Process(frame);
        WriteVoxMessage(output, frame);
        const int percent = int(uint16_t(quint64(input.position) * 100 / qMax<uint32_t>(inputSize, 1)));
        // The bar and the event loop only need a new value.
        if (percent != lastPercent)
            qDebug("%d done", percent);
        if (converter)
            converter->ReportProgress(QStringLiteral("Processing"), percent, 1);
        lastPercent = percent;
    }

    if (coder.Release(frame) != 0) {
        LogErrorId("id_error_releasing_coder");
        return false;
    }
    output.Rewind();
    return true;
}
} // namespace

int TraceVoxMessage(VoxFrame& frame)
{
    const int vocoder = VoxFlags::VocoderId(frame.flags);
    const int rx = VoxFlags::RxType(frame.flags);
    QString text = QStringLiteral("########  Frame #%1 #######\n").arg(frame.count);
    text += QStringLiteral("msg_length   : %1\n").arg(VoxMessageLength(frame));
    text += QStringLiteral("msg_type     : ");
    text += VoxMessageType(frame) == kVoxDataPlay ? QStringLiteral("DATA_PLAY\n")
                                                  : QStringLiteral("%1\n").arg(VoxMessageType(frame));
    text += QStringLiteral("bfi          : %1\n").arg(int(VoxFlags::Bfi(frame.flags)));
    text += QStringLiteral("taf          : %1\n").arg(int(VoxFlags::Taf(frame.flags)));
    text += QStringLiteral("ufi          : %1\n").arg(int(VoxFlags::Ufi(frame.flags)));
    text += QStringLiteral("vocoder_type : %1\n").arg(QLatin1String(VocoderName(vocoder)));
    if (IsAmrVocoder(vocoder))
        text += QStringLiteral("rx_type      : %1\n").arg(QLatin1String(kRxNames[rx]));
    else
        text += QStringLiteral("rx_type      : %1\n").arg(rx);
    text += QStringLiteral("###########################\n\n");
    LogTrace(text);
    return 0;
}

namespace {
// Checks the magic, counts the accepted messages and picks the decoder the first
// coded frame names; false (logged) when there is none.
bool PrepareDecode(CMemFile& input, uint32_t& frames, VoxCoderOps& coder)
{
    if (!CheckVoxMagic(input)) {
        LogErrorId("id_not_proper_vox_file");
        return false;
    }
    VoxFrame frame;
    frames = 0;
    int vocoder = -1;
    while (ReadVoxMessage(input, frame)) {
        if (!VoxMessageAccepted(frame))
            continue;
        if (frames++ == 0)
            vocoder = VoxFlags::VocoderId(frame.flags);
    }
    if (frames == 0) {
        LogErrorId("id_no_vocoder_in_vox_file");
        return false;
    }
    input.Rewind();
    CheckVoxMagic(input);
    if (!SelectVoxDecoder(vocoder, coder)) {
        LogErrorId("id_vocoder_not_implemented");
        return false;
    }
    return true;
}

// Runs the coder over every accepted message from the input's position on,
// handing each decoded frame to `take`.
template <class Take>
bool RunDecoder(CMemFile& input, VoxCoderOps& coder, Take take)
{
    VoxFrame frame;
    frame.dtx = 1;
    if (coder.Init(frame) != 0) {
        LogErrorId("id_error_initializing_coder");
        return false;
    }
    for (frame.count = 0; ReadVoxMessage(input, frame);) {
        if (!VoxMessageAccepted(frame))
            continue;
        coder.Process(frame);
        take(frame);
        ++frame.count;
    }
    if (coder.Release(frame) != 0) {
        LogErrorId("id_error_releasing_coder");
        return false;
    }
    input.Rewind();
    return true;
}
} // namespace

bool DecodeVox(CMemFile& input, CMemFile& output, bool trace)
{
    if (trace) {
        if (!CheckVoxMagic(input)) {
            LogErrorId("id_not_proper_vox_file");
            return false;
        }
        VoxCoderOps tracer = {VoxCoderNothing, TraceVoxMessage, VoxCoderNothing};
        return RunDecoder(input, tracer, [](const VoxFrame&) {});
    }
    WriteWavHeader(0, output);
    uint32_t frames = 0;
    VoxCoderOps coder;
    if (!PrepareDecode(input, frames, coder))
        return false;
    // The whole wave in one allocation rather than one per growth step;
    // without the memory the file simply grows as it is written.
    const uchar zero = 0;
    output.Seek(long(kWavHeaderBytes) + long(frames) * kFrameBytes - 1, 0);
    output.Write(&zero, 1, 1);
    output.Seek(kWavHeaderBytes, 0);

    uint32_t dataSize = 0;
    const bool decoded = RunDecoder(input, coder, [&](const VoxFrame& frame) {
        const uint32_t written = WriteFrameSamples(output, frame);
        if (written < uint32_t(kVoxFrameSamples))
            LogErrorId("id_error_writing_output_file", QString::fromLocal8Bit(std::strerror(ENOMEM)));
        dataSize += written * 2;
    });
    if (!decoded)
        return false;
    output.Seek(0, 0);
    WriteWavHeader(dataSize, output);
    output.Rewind();
    return true;
}

bool DecodeVox(CMemFile& input, CDocumentWave& wave)
{
    uint32_t frames = 0;
    VoxCoderOps coder;
    if (!PrepareDecode(input, frames, coder))
        return false;
    const uint64_t dataSize = uint64_t(frames) * kFrameBytes;
    unsigned char* samples = nullptr;
    if (dataSize <= UINT32_MAX - kWavHeaderBytes && wave.CreateHeader(kVoxRate, 16, 1)) {
        wave.m_WAVEheader = MakeCanonicalWaveHeader(wave.m_WAVEheader, uint32_t(dataSize));
        samples = wave.AllocateInputData(uint32_t(dataSize));
    }
    if (!samples) {
        LogErrorId("id_error_writing_output_file", QString::fromLocal8Bit(std::strerror(ENOMEM)));
        return false;
    }
    uint32_t at = 0;
    return RunDecoder(input, coder, [&](const VoxFrame& frame) {
        PutFrameSamples(samples + at, frame);
        at += kFrameBytes;
    });
}
