#include "Melody/MelodyPreviewWalk.h"

#include <QList>
#include <gtest/gtest.h>

namespace {
// A written melody spelt as text: a letter sounds one sample, "(" opens a
// loop, ")n" closes it after n passes (0 skips the body).
struct FakeEvent
{
    MelodyPreviewStep step;
    char name;
    int repeats;
};

QList<FakeEvent*> Events(const char* text, QList<FakeEvent>& store)
{
    for (const char* p = text; *p; ++p) {
        if (*p == '(')
            store.append({MelodyPreviewStep::LoopOpen, *p, 0});
        else if (*p == ')')
            store.append({MelodyPreviewStep::LoopClose, *p, *++p - '0'});
        else
            store.append({MelodyPreviewStep::Sound, *p, 0});
    }
    QList<FakeEvent*> events;
    for (FakeEvent& event : store)
        events.append(&event);
    return events;
}

struct Heard
{
    std::string names;
    MelodyPreviewEnd end;
    QList<int> progress;
};

Heard Walk(const char* text, int from = 0, int samplesEach = 1)
{
    QList<FakeEvent> store;
    QList<FakeEvent*> events = Events(text, store);
    Heard heard;
    CMelodyPreviewWalk walk;
    heard.end = walk.Walk(
        events, from, [](const FakeEvent* e) { return e->step; },
        [](QList<FakeEvent*>& list, int, int close) { return list.at(close)->repeats; },
        [&](FakeEvent* e) {
            heard.names += e->name;
            return samplesEach;
        },
        [&](int percent) { heard.progress.append(percent); });
    return heard;
}
} // namespace

TEST(MelodyPreviewWalk, LoopsArePlayedTheirPassesAndUnmatchedLoopsStopTheWalk)
{
    const struct
    {
        const char* text;
        int from;
        const char* heard;
        MelodyPreviewEnd end;
    } cases[] = {
        {"ab", 0, "ab", MelodyPreviewEnd::Done},
        {"a(b)3c", 0, "abbbc", MelodyPreviewEnd::Done},
        {"a(b)0c", 0, "ac", MelodyPreviewEnd::Done},
        {"a(b(c)2)2d", 0, "abccbccd", MelodyPreviewEnd::Done},
        {"a)2b", 0, "a", MelodyPreviewEnd::Done},
        {"a(b", 0, "a", MelodyPreviewEnd::UnclosedOpening},
        // A walk started inside a body ends at that body's close.
        {"a(bc)2d", 2, "bc", MelodyPreviewEnd::Done},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.text);
        const Heard heard = Walk(t.text, t.from);
        EXPECT_EQ(heard.names, t.heard);
        EXPECT_EQ(heard.end, t.end);
    }
}

TEST(MelodyPreviewWalk, ProgressGrowsOnlyWithEventsNotHeardBefore)
{
    // Indexes 1 and 3 of four events; the repeat of index 1 reports nothing.
    const Heard heard = Walk("(a)2b");
    EXPECT_EQ(heard.names, "aab");
    EXPECT_EQ(heard.progress, (QList<int>{25, 75}));
}

TEST(MelodyPreviewWalk, NestedRepeatsStopAtTheSampleBudget)
{
    // 9^8 passes of one event would be far past the budget.
    const Heard heard = Walk("((((((((a)9)9)9)9)9)9)9)9", 0, 1000000);
    EXPECT_EQ(static_cast<qint64>(heard.names.size()), (kMaxMelodyPreviewSamples + 999999) / 1000000);
}
