// How long the window takes to appear: start-up on the shipped application folder, window construction,
// settings and show until the first paint; and the hex view of a 64 KB raw document.
#include "Core/CMainWindowAdapter.h"
#include "Core/COrvApplication.h"
#include "Documents/CDocumentAbstract.h"
#include "Gui/Preview/CPreviewPanel.h"
#include "Gui/Window/CGuiServices.h"
#include "Gui/Window/OrvaneMainWindow.h"
#include "ScratchApp.h"
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// Notices the window's first paint.
class CPaintWatch : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            mPainted = true;
        return false;
    }
    bool mPainted = false;
};

void UseOffscreenDisplay()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void WindowStart(benchmark::State& state)
{
    UseOffscreenDisplay();
    CProcessStateKeeper keeper;
    QTemporaryDir scratch;
    QDir::setCurrent(scratch.path());
    qputenv("ORVANEDIR", ORV_APP_DIR);
    CProgramArguments arguments;
    arguments.Set({QStringLiteral("/logfile=run.log")});
    const QString settings = scratch.filePath(QStringLiteral("Settings.xml"));
    for (auto _ : state) {
        auto application = std::make_unique<COrvApplication>(arguments.Count(), arguments.Vector());
        if (!application->Init()) {
            state.SkipWithError("the application folder does not start");
            break;
        }
        {
            OrvaneMainWindow window(nullptr, Qt::Window);
            ConnectMainWindow(window, *application);
            CPaintWatch watch;
            window.installEventFilter(&watch);
            window.LoadSettings(settings);
            window.show();
            while (!watch.mPainted)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            state.PauseTiming();
        }
        application->Shutdown();
        application.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(WindowStart)->Unit(benchmark::kMillisecond)->Iterations(5);

void HexViewOf64KB(benchmark::State& state)
{
    UseOffscreenDisplay();
    int argc = 1;
    char name[] = "GuiStartBench";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    QByteArray bytes(65536, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char(i * 7);
    CDocumentAbstract raw;
    raw.SetData(bytes.constData(), uint32_t(bytes.size()));
    CPreviewPanel panel(nullptr, QStringLiteral("Preview"));
    panel.resize(400, 300);
    for (auto _ : state) {
        panel.LoadMedia(&raw);
        state.PauseTiming();
        panel.LoadMedia(nullptr);
        state.ResumeTiming();
    }
}
BENCHMARK(HexViewOf64KB)->Unit(benchmark::kMillisecond);

} // namespace
