// A converter change on the media tab: the source list refiltered over a 500-file folder and the parameter
// form rebuilt for the new converter, on the shipped application folder.
#include "Core/CMainWindowAdapter.h"
#include "Core/COrvApplication.h"
#include "Gui/Browsing/FileLineControls.h"
#include "Gui/Panels/CMediaSelectorPanel.h"
#include "Gui/Window/CGuiServices.h"
#include "Gui/Window/COrvTabview.h"
#include "Gui/Window/OrvaneMainWindow.h"
#include "ScratchApp.h"
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

void ConverterChangeOverA500FileFolder(benchmark::State& state)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    CProcessStateKeeper keeper;
    QTemporaryDir scratch;
    QDir::setCurrent(scratch.path());
    qputenv("ORVANEDIR", ORV_APP_DIR);
    static const char* const kExtensions[] = {"mid", "wav", "png", "gif", "rtx", "txt", "bmp", "doc"};
    QDir().mkpath(scratch.filePath(QStringLiteral("media")));
    for (int i = 0; i < 500; ++i) {
        QFile file(
            scratch.filePath(QStringLiteral("media/file%1.%2").arg(i).arg(QString::fromLatin1(kExtensions[i % 8]))));
        if (file.open(QIODevice::WriteOnly))
            file.write("x");
    }
    CProgramArguments arguments;
    arguments.Set({QStringLiteral("/logfile=run.log")});
    COrvApplication application(arguments.Count(), arguments.Vector());
    if (!application.Init()) {
        state.SkipWithError("the application folder does not start");
        return;
    }
    {
        OrvaneMainWindow window(nullptr, Qt::Window);
        ConnectMainWindow(window, application);
        window.LoadSettings(scratch.filePath(QStringLiteral("none.xml")));
        CMediaSelectorPanel& panel = *window.GetTabview()->mpMediaSelectorPanel;
        panel.SetCurrentPath(scratch.filePath(QStringLiteral("media")));
        window.show();
        QComboBox* converters = panel.GetConverterSelector();
        const int count = converters->count();
        if (count < 2) {
            state.SkipWithError("fewer than two converters");
            return;
        }
        int next = 0;
        for (auto _ : state) {
            next = (next + 1) % count;
            converters->setCurrentIndex(next);
            emit converters->activated(next);
        }
    }
    application.Shutdown();
}
BENCHMARK(ConverterChangeOverA500FileFolder)->Unit(benchmark::kMillisecond);

} // namespace
