// The preview: the written events played into a wave, loops repeated.
#include "CChimo.h"

#include "Util/Assert.h"
#include "Wave/CDocumentWave.h"

void CChimo::GeneratePreview(IBrimselNotes& events, int tempo, int from, int to)
{
    const int count = events.count();
    ASSERT_TEXT(from < count && to < count, "from<(int)IBrimselNotes.count()&&to<(int)IBrimselNotes.count()");
    ASSERT_TEXT(mpPreviewDocument, "mpPreviewDocument");
    if (!mpPreviewDocument || from < 0 || from >= count)
        return;
    Q_UNUSED(to);
    if (from == 0)
        m_PreviewWalk.Restart();

    CDocumentWave* wave = static_cast<CDocumentWave*>(mpPreviewDocument);
    // The loop count is kept on the opening.
    const auto repeatsOf = [](IBrimselNotes& list, int open, int) {
        return static_cast<QBRBeginPattern*>(list.at(open))->GetRepeatCount();
    };
    const auto play = [wave, tempo](IBrimselEvent* event) { return event->GeneratePreview(wave, tempo); };
    const auto progress = [this](int percent) { ReportProgress(percent, StagePreview); };
    const MelodyPreviewEnd end =
        m_PreviewWalk.Walk(events, from, PreviewStepOf<IBrimselEvent>, repeatsOf, play, progress);
    ASSERT_TEXT(end != MelodyPreviewEnd::UnclosedOpening, "event->GetEventType() == IBrimselEvent::EndPattern");
}
