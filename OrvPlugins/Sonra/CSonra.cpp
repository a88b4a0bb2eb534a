#include "CSonra.h"

#include "WaveImport.h"

#include "Wave/CDocumentWave.h"
#include "Wave/WaveSampleFormat.h"

namespace {
// The message of each refusal code.
const char* RefusalId(int error)
{
    switch (error) {
    case WaveRateError:
        return "id_import_wav_sampling_error";
    case WaveFormatError:
        return "id_import_wav_format_error";
    case WaveChannelError:
        return "id_import_wav_channel_error";
    case WaveBitDepthError:
        return "id_import_wav_bitdepth_error";
    case WaveHeaderError:
        return "id_import_wav_header_error";
    default:
        return "id_import_wav_error";
    }
}
} // namespace

CDocument* CSonra::Import(const QByteArray& rawData)
{
    CheckInput(rawData);
    int error = WaveNoSamplesError;
    WaveSampleFormat format;
    CDocumentWave* wave = ImportWave(rawData, error, &format);
    if (wave)
        return wave;
    // A format other than PCM is named: by its tag, or by the sub-format of the extensible format.
    if (error == WaveFormatError && format.tag == WaveSampleFormat::Extensible)
        ReportMessage("id_import_wav_subformat_error", format.Describe());
    else if (error == WaveFormatError)
        ReportMessage("id_import_wav_format_error", format.Describe());
    else
        ReportMessage(RefusalId(error));
    return nullptr;
}
