// libFuzzer target: the fuzzer's bytes as a MIDI document through the
// converter, with Model C and the default parameters. The render limit is
// lowered so that a long piece costs a run no more than ten seconds of sound.
#include "CPolyra.h"
#include "MseqRenderLimit.h"

#include "Melody/CDocumentMidi.h"
#include "Parameters/CParameters.h"
#include "Parameters/CProfile.h"
#include "Text/CLanguageResources.h"

#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>

namespace {
void Discard(QtMsgType, const QMessageLogContext&, const QString&) {}

QString SourcePath(const char* relative)
{
    return QString::fromUtf8(ORV_SOURCE_DIR) + QLatin1Char('/') + QString::fromLatin1(relative);
}

struct Setup
{
    Setup()
    {
        qInstallMessageHandler(Discard);
        MseqSetRenderLimit(80000);
        CLanguageResources::Load(SourcePath("data/app/Languages/English.xml"));
        parameters.Load(SourcePath("data/app/Plugins/Parameters/MSEQParameters.xml"));
        profile.Load(SourcePath("data/app/Profiles/Model_C.xml"));
    }
    CParameters parameters;
    CProfile profile;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Setup setup;
    CPolyra converter;
    converter.SetParameters(&setup.parameters);
    converter.SetProfile(&setup.profile);
    CDocumentMidi document;
    document.SetRawData(data, unsigned(size));
    converter.Convert(&document);
    return 0;
}
