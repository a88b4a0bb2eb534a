#include "COrvApplication.h"

// Stand-in until the conversion engine arrives (it replaces this file): the run is refused in the log.
B32 COrvApplication::RunCommandLine()
{
    Log(Message(QStringLiteral("id_cmdline_unavailable")) + QLatin1Char('\n'));
    return 0;
}
