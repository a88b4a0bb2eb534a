#include "Core/CCommandLine.h"
#include "Core/COrvApplication.h"
#include "Core/CommandLineFonts.h"
#include "Core/HugeHeapPages.h"
#include "Util/StopSignals.h"
#include <QStringList>
#include <csignal>
#include <cstdio>
#include <new>

namespace {

// The program's users see its reports and its run log, never the toolkit's diagnostics, except the one
// that ends the process (no display for the window, say): without it the program would die in silence.
void DiscardMessage(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qUtf8Printable(text));
}

QStringList ArgumentsOf(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

} // namespace

int main(int argc, char** argv)
{
    PreferHugeHeapPages();
    // Before any thread exists, so that the toolkit's threads never take a stopping signal meant for the cleanup of
    // the main thread.
    StopSignals::BlockBeforeThreadsStart();
    // A file size limit (ulimit -f) would end the run in the middle of a write; ignored, the write fails with the
    // system's reason ("File too large"), that file fails and the run goes on.
    std::signal(SIGXFSZ, SIG_IGN);
    // A run without the window must work without a display, so the platform is chosen before the
    // application object exists.
    const bool window = CCommandLine::NeedsWindow(ArgumentsOf(argc, argv));
    if (!window && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    const QtMessageHandler previous = qInstallMessageHandler(DiscardMessage);
    int result = 0;
    {
        COrvApplication application(argc, argv, true);
        StopSignals::TakeInMainThread();
        if (window)
            QApplication::setStyle(QStringLiteral("Fusion"));
        // Start-up without the memory it needs says so and ends with exit code 1; a source that runs out of memory
        // fails alone inside the run.
        try {
            if (application.Init())
                result = application.Run();
        } catch (const std::bad_alloc&) {
            application.ReportOutOfMemory();
            result = 0;
        }
        application.Shutdown();
        if (!window)
            ReleaseFontsWithoutLoadingThem();
        qInstallMessageHandler(previous);
    }
    return result == 1 ? 0 : 1;
}
