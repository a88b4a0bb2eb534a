#pragma once
// The non-fatal check with a condition text of its own, for checks whose
// text names what the condition stands for rather than spelling it out.
#include <QtGlobal>

#define TUNRA_CHECK(cond, text) \
    ((cond) ? static_cast<void>(0) : qWarning("ASSERT: \"%s\" in %s (%d)", text, __FILE__, __LINE__))
