#include "Core/CCommandLine.h"
#include "Core/COrvApplication.h"
#include <QStringList>

namespace {

// The program's users see its reports and its run log, never the toolkit's diagnostics.
void DiscardMessage(QtMsgType, const QMessageLogContext&, const QString&)
{
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
    // A run without the window must work without a display, so the platform is chosen before the
    // application object exists.
    const bool window = CCommandLine::NeedsWindow(ArgumentsOf(argc, argv));
    if (!window && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    const QtMessageHandler previous = qInstallMessageHandler(DiscardMessage);
    int result = 0;
    {
        COrvApplication application(argc, argv, true);
        if (window)
            QApplication::setStyle(QStringLiteral("Fusion"));
        if (application.Init())
            result = application.Run();
        application.Shutdown();
        qInstallMessageHandler(previous);
    }
    return result == 1 ? 0 : 1;
}
