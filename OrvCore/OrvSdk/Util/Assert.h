#pragma once
// Non-fatal consistency check: reports through the toolkit's warning output
// and carries on, so a broken invariant never takes the program down.
#include <QtGlobal>

#define ASSERT(cond) \
    ((cond) ? static_cast<void>(0) \
            : qWarning("ASSERT: \"%s\" in %s (%d)", #cond, __FILE__, __LINE__))
