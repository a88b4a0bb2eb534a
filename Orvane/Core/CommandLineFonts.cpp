#include "Core/CommandLineFonts.h"

#include <fontconfig/fontconfig.h>

void ReleaseFontsWithoutLoadingThem()
{
    FcConfig* empty = FcConfigCreate();
    if (!empty)
        return;
    // The current configuration takes its own reference; ours goes.
    FcConfigSetCurrent(empty);
    FcConfigDestroy(empty);
}
