#pragma once
// Non-fatal consistency check: reports through the toolkit's warning output
// and carries on, so a broken invariant never takes the program down.
#include <QtGlobal>

#define ASSERT(cond) ASSERT_TEXT(cond, #cond)

// The same check reported with a text of its own, for a condition whose
// report names what it stands for rather than spelling out the expression.
#define ASSERT_TEXT(cond, text)                                                                                        \
    ((cond) ? static_cast<void>(0) : qWarning("ASSERT: \"%s\" in %s (%d)", text, __FILE__, __LINE__))
