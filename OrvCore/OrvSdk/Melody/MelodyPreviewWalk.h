#pragma once
// The walk behind a written melody's preview: the events played in order,
// each loop body as many times as its count says. The event lists of the
// melody formats share no base class, so the walk takes the list as it is
// and asks the caller what each event is.
#include <QVector>
#include <QtGlobal>

// The preview wave: 16-bit mono at 22050 Hz.
const unsigned kMelodyPreviewRate = 22050;
const int kMelodyPreviewBits = 16;
const int kMelodyPreviewChannels = 1;
// Nested loops multiply: a hostile melody could ask for days of sound. The
// preview stops after ten minutes, far beyond any ring tone.
const qint64 kMaxMelodyPreviewSamples = qint64(kMelodyPreviewRate) * 60 * 10;

enum class MelodyPreviewStep
{
    LoopOpen,
    LoopClose,
    Sound
};

// The step of an event of a written melody list whose event class names
// its loop openings and closes BeginPattern and EndPattern.
template <class Event>
MelodyPreviewStep PreviewStepOf(const Event* event)
{
    switch (event->GetEventType()) {
    case Event::BeginPattern:
        return MelodyPreviewStep::LoopOpen;
    case Event::EndPattern:
        return MelodyPreviewStep::LoopClose;
    default:
        return MelodyPreviewStep::Sound;
    }
}

// What a walk ended on.
enum class MelodyPreviewEnd
{
    Done,           // the last event, an unmatched close or the sample budget
    UnclosedOpening // a loop opening without a close: nothing after it played
};

class CMelodyPreviewWalk
{
public:
    // Starts a new preview: progress and the sample budget from zero.
    void Restart()
    {
        m_nHighest = 0;
        m_nSamples = 0;
    }

    // Plays events from index `from` on. `stepOf(event)` says what an event
    // is; `repeatsOf(events, open, close)` the passes of the loop opened at
    // `open` and closed at `close`; `play(event)` sounds one event and
    // returns its samples; `progress(percent)` hears of every event further
    // than any before.
    template <class Events, class StepOf, class RepeatsOf, class Play, class Progress>
    MelodyPreviewEnd Walk(Events& events, int from, StepOf stepOf, RepeatsOf repeatsOf, Play play, Progress progress)
    {
        const int count = events.count();
        // Walked with a stack of the loops being played rather than by
        // calling itself for every body, so deep nesting cannot exhaust the
        // stack.
        const QVector<int> closeOf = MatchLoops(events, stepOf);
        QVector<PlayingLoop> playing;
        int index = from;
        while (index < count && m_nSamples < kMaxMelodyPreviewSamples) {
            auto* event = events.at(index);
            switch (stepOf(event)) {
            case MelodyPreviewStep::LoopOpen: {
                const int close = closeOf[index];
                if (close < 0)
                    return MelodyPreviewEnd::UnclosedOpening;
                const int repeats = repeatsOf(events, index, close);
                if (repeats <= 0) {
                    index = close + 1;
                    break;
                }
                playing.append({index + 1, repeats - 1});
                ++index;
                break;
            }
            case MelodyPreviewStep::LoopClose:
                // A close outside any loop of this walk ends the body it was
                // called for.
                if (playing.isEmpty())
                    return MelodyPreviewEnd::Done;
                if (playing.last().nRepeatsLeft > 0) {
                    --playing.last().nRepeatsLeft;
                    index = playing.last().nBodyStart;
                } else {
                    // The loop has played its passes; the melody goes on.
                    playing.removeLast();
                    ++index;
                }
                break;
            case MelodyPreviewStep::Sound:
                m_nSamples += play(event);
                if (index > m_nHighest) {
                    m_nHighest = index;
                    progress(static_cast<int>(static_cast<qint64>(m_nHighest) * 100 / count));
                }
                ++index;
                break;
            }
        }
        return MelodyPreviewEnd::Done;
    }

private:
    struct PlayingLoop
    {
        int nBodyStart;   // first event after the opening
        int nRepeatsLeft; // passes still to play after the current one
    };

    // The index of each loop opening's matching close, -1 for an opening
    // without one; other entries unused. A close without an opening is left
    // unmatched: the walk stops there.
    template <class Events, class StepOf>
    static QVector<int> MatchLoops(const Events& events, StepOf stepOf)
    {
        QVector<int> match(events.count(), -1);
        QVector<int> open;
        for (int i = 0; i < events.count(); ++i) {
            const MelodyPreviewStep step = stepOf(events.at(i));
            if (step == MelodyPreviewStep::LoopOpen)
                open.append(i);
            else if (step == MelodyPreviewStep::LoopClose && !open.isEmpty())
                match[open.takeLast()] = i;
        }
        return match;
    }

    int m_nHighest = 0;
    qint64 m_nSamples = 0;
};
