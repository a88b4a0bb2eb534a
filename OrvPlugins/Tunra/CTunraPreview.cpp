// The preview: the written events played into a wave, loops repeated.
#include "CTunra.h"

#include "Util/Assert.h"
#include "Wave/CDocumentWave.h"

void CTunra::GeneratePreview(IMYNotes& events, int tempo, int from, int to)
{
    const int count = events.count();
    ASSERT_TEXT(from < count && to < count, "from<(int)IMYNotes.count()&&to<(int)IMYNotes.count()");
    ASSERT(mpPreviewDocument);
    if (!mpPreviewDocument || from < 0 || from >= count)
        return;
    Q_UNUSED(to);
    if (from == 0)
        m_PreviewWalk.Restart();

    CDocumentWave* wave = static_cast<CDocumentWave*>(mpPreviewDocument);
    // The loop count is kept on the close.
    const auto repeatsOf = [](IMYNotes& list, int, int close) {
        return static_cast<IMYEndPattern*>(list.at(close))->GetRepeatCount();
    };
    const auto play = [wave, tempo](IMYEvent* event) {
        return static_cast<IMYNote*>(event)->GeneratePreview(wave, tempo);
    };
    const auto progress = [this](int percent) { ReportProgress(percent, PhasePreview); };
    const MelodyPreviewEnd end = m_PreviewWalk.Walk(events, from, PreviewStepOf<IMYEvent>, repeatsOf, play, progress);
    ASSERT_TEXT(end != MelodyPreviewEnd::UnclosedOpening, "event->GetEventType() == IMYEvent::EndPattern");
}
