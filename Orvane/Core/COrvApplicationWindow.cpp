#include "COrvApplication.h"
#include <cstdio>

// Stand-in until the user interface arrives (it replaces this file): this build has no main window, which
// the user learns on the error output and in the run log.
int COrvApplication::RunMainWindow()
{
    const QString text = Message(QStringLiteral("id_window_unavailable"));
    Log(text + QLatin1Char('\n'));
    const QByteArray bytes = (text + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
    return 0;
}
