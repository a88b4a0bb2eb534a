// An e-card of 3,000 characters of text with four pictures, composed by the EMS translator.
#include "CMessra.h"
#include "CSmsItem.h"
#include "Documents/CDocument.h"
#include "Parameters/CParameters.h"
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {
void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

void BM_EmsCardWithFourPictures(benchmark::State& state)
{
    QTemporaryDir folder;
    Write(folder.filePath(QStringLiteral("large.emp")), QByteArray("\x04\x20", 2) + QByteArray(128, '\x33'));
    Write(folder.filePath(QStringLiteral("small.emp")), QByteArray("\x02\x10", 2) + QByteArray(32, '\x44'));
    Write(folder.filePath(QStringLiteral("wide.emp")), QByteArray("\x48\x0E", 2) + QByteArray(126, '\x55'));
    Write(folder.filePath(QStringLiteral("narrow.emp")), QByteArray("\x02\x08", 2) + QByteArray(16, '\x66'));

    QByteArray text;
    for (int i = 0; i < 750; ++i)
        text.append(char('a' + i % 26));
    const char* pictures[] = {"large.emp", "small.emp", "wide.emp", "narrow.emp"};
    QByteArray card("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<ECARD>");
    for (const char* picture : pictures)
        card += text + "<IE TYPE=\"EMP\" STYPE=\"USR\" REF=\"" + picture + "\"/>";
    card += "</ECARD>\n";

    // No profile here: the media size limit is set directly.
    CSmsItem::SetMaxMediaSize(1000);
    CMessra translator;
    CParameters parameters;
    parameters.Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Plugins/Parameters/EMSParameters.xml"));
    translator.SetParameters(&parameters);
    std::unique_ptr<CDocument> document(translator.Import(card));
    document->SetName(folder.filePath(QStringLiteral("card.ecd")));
    size_t chunks = 0;
    for (auto _ : state) {
        if (!translator.Convert(document.get()))
            state.SkipWithError("conversion failed");
        chunks = size_t(translator.GetRawDataList().size());
        translator.ClearRawData();
    }
    state.counters["messages"] = double(chunks);
}
BENCHMARK(BM_EmsCardWithFourPictures)->Unit(benchmark::kMillisecond);
} // namespace
