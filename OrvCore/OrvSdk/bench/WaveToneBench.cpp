// One minute of preview tones (240 quarter-second notes at 22050 Hz, as the
// iMelody preview writes them) right after the XML reader has run, which is
// how every conversion starts. Target: under 40 ms.
#include "Wave/CDocumentWave.h"
#include "Xml/CXmlFile.h"

#include <benchmark/benchmark.h>

namespace {
QByteArray ParameterLikeXml()
{
    QByteArray xml("<?xml version=\"1.0\" encoding=\"UTF-8\"?><P><PSECTION>");
    for (int i = 0; i < 20; ++i)
        xml += "<DATA NAME=\"Parameter" + QByteArray::number(i) + "\" TYPE=\"Integer\" VALUE=\"120\"/>";
    return xml + "</PSECTION></P>";
}

void TonesAfterXmlLoading(benchmark::State& state)
{
    const QByteArray xml = ParameterLikeXml();
    for (auto _ : state) {
        CXmlFile file;
        if (!file.LoadFromData(xml)) {
            state.SkipWithError("the XML reader refused the document");
            return;
        }
        CDocumentWave wave;
        wave.CreateHeader(22050, 16, 1);
        for (int note = 0; note < 240; ++note)
            wave.AppendTone(261.3 + 2.0 * note, 0.5, 250);
        benchmark::DoNotOptimize(wave.m_WAVEheader.data_ckSize);
    }
}
BENCHMARK(TonesAfterXmlLoading)->Unit(benchmark::kMillisecond);
} // namespace
