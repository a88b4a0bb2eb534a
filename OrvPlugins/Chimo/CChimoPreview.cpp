// The preview: the written events played into a wave, loops repeated.
#include "CChimo.h"

#include "Util/Assert.h"
#include "Wave/CDocumentWave.h"

#include <QVector>

namespace {
// Nested loops multiply: a hostile melody could ask for days of sound. The
// preview stops after ten minutes, far beyond any ring tone.
const qint64 kMaxPreviewSamples = 22050LL * 60 * 10;

// The index of each loop opening's matching close, -1 for an opening
// without one; other entries unused.
QVector<int> MatchLoops(const IBrimselNotes& events)
{
    QVector<int> match(events.count(), -1);
    QVector<int> open;
    for (int i = 0; i < events.count(); ++i) {
        const int type = events.at(i)->GetEventType();
        if (type == IBrimselEvent::BeginPattern)
            open.append(i);
        else if (type == IBrimselEvent::EndPattern && !open.isEmpty())
            match[open.takeLast()] = i;
    }
    return match;
}

struct PlayingLoop
{
    int nBodyStart;   // first event after the opening
    int nRepeatsLeft; // passes still to play after the current one
};
} // namespace

void CChimo::GeneratePreview(IBrimselNotes& events, int tempo, int from, int to)
{
    const int count = events.count();
    ASSERT_TEXT(from < count && to < count, "from<(int)IBrimselNotes.count()&&to<(int)IBrimselNotes.count()");
    ASSERT_TEXT(mpPreviewDocument, "mpPreviewDocument");
    if (!mpPreviewDocument || from < 0 || from >= count)
        return;
    Q_UNUSED(to);
    if (from == 0) {
        m_nPreviewHighest = 0;
        m_nPreviewSamples = 0;
    }

    // Walked with a stack of the loops being played rather than by calling
    // itself for every body, so deep nesting cannot exhaust the stack.
    const QVector<int> closeOf = MatchLoops(events);
    QVector<PlayingLoop> playing;
    int index = from;
    while (index < count && m_nPreviewSamples < kMaxPreviewSamples) {
        IBrimselEvent* event = events.at(index);
        switch (event->GetEventType()) {
        case IBrimselEvent::BeginPattern: {
            const int close = closeOf[index];
            ASSERT_TEXT(close >= 0, "event->GetEventType() == IBrimselEvent::EndPattern");
            if (close < 0)
                return;
            const int repeats = static_cast<QBRBeginPattern*>(event)->GetRepeatCount();
            if (repeats <= 0) {
                index = close + 1;
                break;
            }
            playing.append({index + 1, repeats - 1});
            ++index;
            break;
        }
        case IBrimselEvent::EndPattern:
            // A close outside any loop of this walk ends the body it was
            // called for.
            if (playing.isEmpty())
                return;
            if (playing.last().nRepeatsLeft > 0) {
                --playing.last().nRepeatsLeft;
                index = playing.last().nBodyStart;
            } else {
                // The loop has played its k times; the melody goes on.
                playing.removeLast();
                ++index;
            }
            break;
        default:
            PlayEvent(event, index, count, tempo);
            ++index;
            break;
        }
    }
}

void CChimo::PlayEvent(IBrimselEvent* event, int index, int count, int tempo)
{
    CDocumentWave* wave = static_cast<CDocumentWave*>(mpPreviewDocument);
    m_nPreviewSamples += event->GeneratePreview(wave, tempo);
    if (index > m_nPreviewHighest) {
        m_nPreviewHighest = index;
        ReportProgress(static_cast<int>(static_cast<qint64>(m_nPreviewHighest) * 100 / count), StagePreview);
    }
}
