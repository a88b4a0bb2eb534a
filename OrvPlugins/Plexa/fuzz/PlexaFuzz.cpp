// libFuzzer target. The first byte picks the road of the rest:
//   0: DecodeVox into a WAV file, 1: DecodeVox in trace mode,
//   2: the WAV importer's core, then CPlexa::Convert in 12.2 with DTX.
#include "CPlexa.h"
#include "CSonra.h"
#include "PlexaLog.h"
#include "VoxCodec.h"

#include "Parameters/CParameters.h"
#include "Parameters/CProfile.h"
#include "Plugin/CConversionLog.h"
#include "Util/CMemFile.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {
void Discard(QtMsgType, const QMessageLogContext&, const QString&) {}

struct Setup
{
    Setup()
    {
        qInstallMessageHandler(Discard);
        parameters.Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Plugins/Parameters/VoxParameters.xml"));
        profile.Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Profiles/Model_C.xml"));
        if (CEnumParameter* vocoder = parameters.GetEnumParameter(QStringLiteral("VocoderTypeName")))
            vocoder->mValue = QStringLiteral("gsm_amr_122");
        if (CBoolParameter* noDtx = parameters.GetBoolParameter(QStringLiteral("EncodeNoDTX")))
            noDtx->mValue = false;
        if (CBoolParameter* debug = parameters.GetBoolParameter(QStringLiteral("GenerateDebugFiles")))
            debug->mValue = false;
    }
    CParameters parameters;
    CProfile profile;
};

void Decode(const uint8_t* data, size_t size, bool trace)
{
    CConversionLog log;
    SetCurrentLog(&log);
    CMemFile input;
    input.SetData(data, uint(size));
    input.Rewind();
    CMemFile output;
    DecodeVox(input, output, trace);
    SetCurrentLog(nullptr);
}

void Convert(const Setup& setup, const uint8_t* data, size_t size)
{
    CSonra importer;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    std::unique_ptr<CDocument> document(importer.Import(bytes));
    if (!document)
        return;
    CPlexa plexa;
    plexa.SetParameters(const_cast<CParameters*>(&setup.parameters));
    plexa.SetProfile(const_cast<CProfile*>(&setup.profile));
    plexa.Convert(document.get());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const Setup setup;
    if (size < 1)
        return 0;
    switch (data[0] % 3) {
    case 0:
        Decode(data + 1, size - 1, false);
        break;
    case 1:
        Decode(data + 1, size - 1, true);
        break;
    default:
        Convert(setup, data + 1, size - 1);
        break;
    }
    return 0;
}
