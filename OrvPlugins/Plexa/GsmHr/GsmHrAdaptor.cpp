#include "GsmHrAdaptor.h"

#include "GsmHrCodec.h"
#include "GsmHrFrame.h"
#include "PlexaLog.h"
#include "VoxVocoders.h"

#include <algorithm>
#include <new>

namespace {

constexpr int kSpeechMessageLength = 9; // header, 7 payload words, flag word
constexpr int kSilentMessageLength = 2; // header and flag word
constexpr int kTafPeriod = 12;

enum SidClass
{
    SidSpeech = 0,
    SidInvalid = 1,
    SidValid = 2
};

struct EncoderRun
{
    GsmHrEncoder codec;
    int tafCounter = 1;
    int dtxState = 1;
    bool dtx = false;
};

struct DecoderRun
{
    GsmHrDecoder codec;
    bool previousHoming = true;
};

void Compose(VoxFrame& frame, bool transmitted, const int16_t* params)
{
    if (transmitted) {
        GsmHrPackFrame(params, &frame.words[1]);
        frame.words[0] = VoxHeader(kSpeechMessageLength);
    } else {
        frame.words[1] = 0;
        frame.words[0] = VoxHeader(kSilentMessageLength);
    }
}

} // namespace

int GsmHrEncoderInit(VoxFrame& frame)
{
    GsmHrEncoderRelease(frame);
    auto* run = new (std::nothrow) EncoderRun;
    if (!run)
        return 1;
    run->dtx = frame.dtx != 0;
    run->codec.SetDtx(run->dtx);
    frame.state = run;
    return 0;
}

int GsmHrScheduleFrame(const int16_t* params, int& tafCounter, int& dtxState, VoxFrame& frame)
{
    uint16_t flags = frame.flags;
    flags = static_cast<uint16_t>(flags & ~(VoxFlags::kBfi | VoxFlags::kUfi | VoxFlags::kTaf));
    flags = VoxFlags::WithVocoderId(flags, VocoderGsmHr);
    int rx = GsmHrSidClass(params);

    const bool taf = tafCounter == 0;
    tafCounter = (tafCounter + 1) % kTafPeriod;
    if (taf)
        flags |= VoxFlags::kTaf;

    if (rx == SidInvalid) {
        // Sent as it is; the DTX schedule takes no notice of it.
        LogError(QStringLiteral("Error in SID detection\n"));
        frame.flags = VoxFlags::WithRxType(flags, rx);
        Compose(frame, true, params);
        return 1;
    }

    bool transmitted = true;
    if (dtxState == 1) {
        dtxState = rx == SidValid ? 2 : 1;
    } else if (rx == SidSpeech) {
        dtxState = 1;
    } else {
        dtxState = 3;
        if (!taf) {
            // later SID frames go out only on TAF frames
            transmitted = false;
            flags |= VoxFlags::kBfi | VoxFlags::kUfi;
            rx = SidSpeech;
        }
    }
    frame.flags = VoxFlags::WithRxType(flags, rx);
    Compose(frame, transmitted, params);
    return 0;
}

int GsmHrEncodeFrame(VoxFrame& frame)
{
    auto* run = static_cast<EncoderRun*>(frame.state);
    if (!run)
        return 1;
    const bool homing = GsmHrEncoderHomingTest(frame.samples);
    int16_t params[GsmHrEncoder::kParams];
    GsmHrEncode(run->codec, frame.samples, params);
    if (homing)
        GsmHrResetEncoder(run->codec);
    return GsmHrScheduleFrame(params, run->tafCounter, run->dtxState, frame);
}

int GsmHrEncoderRelease(VoxFrame& frame)
{
    delete static_cast<EncoderRun*>(frame.state);
    frame.state = nullptr;
    return 0;
}

int GsmHrDecoderInit(VoxFrame& frame)
{
    GsmHrDecoderRelease(frame);
    auto* run = new (std::nothrow) DecoderRun;
    if (!run)
        return 1;
    frame.state = run;
    return 0;
}

int GsmHrDecodeFrame(VoxFrame& frame)
{
    auto* run = static_cast<DecoderRun*>(frame.state);
    if (!run)
        return 1;
    int16_t in[GsmHrDecoder::kInputs] = {};
    // A message without its 7 payload words, or of another vocoder, has no
    // frame to unpack: it is taken as a bad one.
    const bool usable = !VoxFlags::Bfi(frame.flags) && VoxMessageLength(frame) >= kSpeechMessageLength
                        && VoxFlags::VocoderId(frame.flags) == VocoderGsmHr;
    if (usable)
        GsmHrUnpackFrame(&frame.words[1], in);
    in[18] = usable ? 0 : 1;
    in[19] = VoxFlags::Ufi(frame.flags) ? 1 : 0;
    in[20] = static_cast<int16_t>(GsmHrSidClass(in));
    in[21] = VoxFlags::Taf(frame.flags) ? 1 : 0;

    bool homing;
    if (run->previousHoming) {
        homing = GsmHrDecoderHomingTest(in, 9);
        if (homing)
            std::fill(frame.samples, frame.samples + kVoxFrameSamples, kGsmHrHomingSample);
        else
            GsmHrDecode(run->codec, in, frame.samples);
    } else {
        GsmHrDecode(run->codec, in, frame.samples);
        homing = GsmHrDecoderHomingTest(in, kGsmHrSpeechParams);
    }
    if (homing)
        GsmHrResetDecoder(run->codec);
    run->previousHoming = homing;
    return 0;
}

int GsmHrDecoderRelease(VoxFrame& frame)
{
    delete static_cast<DecoderRun*>(frame.state);
    frame.state = nullptr;
    return 0;
}
