#include "CSonra.h"

#include "WaveImport.h"

#include "Wave/CDocumentWave.h"

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
    CDocumentWave* wave = ImportWave(rawData, error);
    if (!wave)
        ReportMessage(RefusalId(error));
    return wave;
}
