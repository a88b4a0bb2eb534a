// A batch of 200 small sources through the test plug-ins, in process: the engine's own cost per source should
// be small beside reading and writing the files.
#include "Core/CBatchInfo.h"
#include "EngineTestSupport.h"
#include "Host/CPluginClass.h"
#include "Plugin/CPluginBase.h"
#include <QDir>
#include <benchmark/benchmark.h>

namespace {

void BatchOf200Sources(benchmark::State& state)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    CScratchApp app;
    PrepareEngineApp(app);
    qputenv("ORVANEDIR", QFile::encodeName(app.Path()));
    app.MakeFolder(QStringLiteral("work/out"));
    QStringList sources;
    for (int i = 0; i < 200; ++i) {
        const QString name = QStringLiteral("work/s%1.txt").arg(i);
        app.Write(name, QByteArray("source text number ") + QByteArray::number(i));
        sources.append(app.FilePath(name));
    }
    QDir::setCurrent(app.FilePath(QStringLiteral("work")));

    static int argc = 2;
    static char name[] = "Orvane";
    static char log[] = "/logfile=bench.log";
    static char* argv[] = {name, log, nullptr};
    COrvApplication application(argc, argv);
    CScriptedPrompt prompt;
    application.SetUserPrompt(&prompt);
    if (!application.Init()) {
        state.SkipWithError("start-up failed");
        return;
    }
    const QList<CPluginClass*> entries = application.GetEntireList(application.GetCurrentProfile());
    int index = -1;
    for (int i = 0; i < entries.size(); ++i) {
        if (entries.at(i)->GetConverter()->GetExportExtension() == QLatin1String("TST"))
            index = i;
    }
    for (auto _ : state) {
        CBatchInfoList list;
        list.append(new CBatchInfo(sources, index, QString(), app.FilePath(QStringLiteral("work/out"))));
        B32 result = 0;
        application.LaunchAsked(&list, 0, result);
        if (result != 1)
            state.SkipWithError("the batch failed");
    }
    application.Shutdown();
}

} // namespace

BENCHMARK(BatchOf200Sources)->Unit(benchmark::kMillisecond);
