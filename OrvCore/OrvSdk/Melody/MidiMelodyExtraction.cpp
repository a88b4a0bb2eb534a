// Reduces a multi-channel MIDI file to one line of notes and rests: follow
// one channel (chosen by its program, or by its first note), end each note at
// its own Note Off or at the next Note On of that channel, whichever comes
// first, and turn the gaps between notes into rests. A note or a gap shorter
// than half the shortest duration is not written, so a chord gives its last
// note and keeps the tune's length. A melody that covers less than half the
// tune gives way to the busiest channel's, when that is longer.
#include "Melody/CDocumentMelody.h"
#include "Melody/CDocumentMidi.h"
#include "Melody/CMidiInstrumentUsage.h"
#include "Melody/MidiNoteSpan.h"
#include "MidiClasses/MidiTimedEvents.h"
#include "Util/Assert.h"

#include <QList>
#include <QtDebug>
#include <climits>
#include <utility>

namespace {
const int kNone = -1;
const int kNoProgram = 128;             // any program of 128 or more: none followed
const int kFirstUnfollowedProgram = 97; // effects and percussive programs
// Hang and memory guards against files built to explode: a gap never yields
// more rests than this (about 220 bars of 4/4), nor a melody more elements.
const int kMaxRestsPerGap = 128;
const int kMaxMelodyElements = 1000000;

// How the followed channel is first chosen.
enum class FollowRule
{
    // The first usable Program Change, else the first Note On.
    FirstProgram,
    // The first channel that plays a note, with the program it has then: for
    // files whose set-up track names programs on channels that never play.
    FirstNote,
    // One channel from the start of its track, whatever its programs.
    FixedChannel
};

class CMelodyExtractor
{
public:
    CMelodyExtractor(MelodyNoteList& list, int ticksPerQuarter, MelodyProgressCallback progress, FollowRule rule,
                     int fixedChannel = kNone)
        : m_List(list), m_nTicksPerQuarter(ticksPerQuarter), m_Progress(progress), m_Rule(rule)
    {
        for (int& volume : m_ChannelVolumes)
            volume = 127;
        if (rule == FollowRule::FixedChannel)
            m_nFollowedChannel = fixedChannel;
    }

    // Walks the first track that yields a note; false once the walk is over.
    bool WalkTrack(const MidiTrack* track)
    {
        m_bTotalTaken = false;
        qint64 counter = 0;
        const bool walkedAll = ForEachTimedEvent(*track, [&](const MidiTimedEvent& timed) {
            m_Time = timed.tick;
            if (const MidiMessageEvent* message = timed.Message())
                OnMessage(message);
            ++counter;
            if (m_nProgressTotal != 0 && m_Progress)
                m_Progress(static_cast<int>(counter * 100 / m_nProgressTotal));
            return m_List.count() < kMaxMelodyElements;
        });
        return walkedAll && m_List.isEmpty();
    }

    // Whether a channel other than the drums played a note anywhere in the walk.
    bool HeardMelodicNote() const { return m_bHeardMelodicNote; }

private:
    void OnMessage(const MidiMessageEvent* message)
    {
        const int channel = message->GetStatus() & 0x0F;
        const int type = message->GetStatus() & 0xF0;
        const int data1 = message->GetData1() & 0x7F;
        const int velocity = message->GetData2();
        // A Note On of velocity 0 is a Note Off: in legato playing it comes just
        // after the next note starts, and must not end that note.
        const bool noteOff = type == 0x80 || (type == 0x90 && velocity == 0);
        if (type == 0xC0 && channel != CMidiInstrumentUsage::DrumChannel)
            OnProgramChange(channel, data1);
        else if (type == 0xB0 && data1 == 7)
            m_ChannelVolumes[channel] = velocity;
        else if (noteOff && channel == m_nFollowedChannel && data1 == m_nSoundingKey)
            EndNote();
        else if (type == 0x90 && !noteOff && channel != CMidiInstrumentUsage::DrumChannel) {
            m_bHeardMelodicNote = true;
            OnNoteOn(message, channel, data1, velocity);
        }
    }

    // The followed channel keeps playing through its own changes of program
    // (the followed program stays the first one); another channel that takes
    // the followed program takes the melody over.
    void OnProgramChange(int channel, int program)
    {
        m_ChannelPrograms[channel] = program;
        if (m_Rule == FollowRule::FixedChannel)
            return;
        if (m_nFollowedProgram >= kNoProgram && program < kFirstUnfollowedProgram
            && m_Rule == FollowRule::FirstProgram) {
            m_nFollowedProgram = program;
            m_nFollowedChannel = channel;
        } else if (program == m_nFollowedProgram) {
            m_nFollowedChannel = channel;
        }
    }

    void OnNoteOn(const MidiMessageEvent* message, int channel, int key, int velocity)
    {
        if (m_nFollowedProgram >= kNoProgram && m_Rule != FollowRule::FixedChannel) {
            m_nFollowedChannel = channel;
            m_nFollowedProgram = m_ChannelPrograms[channel];
        }
        if (channel != m_nFollowedChannel)
            return;
        // Counted once per track: counting at every early Note On would make
        // a file of silent Note Ons quadratic.
        if (m_List.isEmpty() && !m_bTotalTaken) {
            m_nProgressTotal = message->CountFollowing();
            m_bTotalTaken = true;
        }
        // One voice: a new Note On ends the sounding note whatever its key.
        if (m_nSoundingKey != kNone)
            EndNote();
        m_nSoundingKey = key;
        m_nSavedVelocity = velocity;
        m_StartTime = m_Time;
        if (m_bNoteEnded && m_LastEndTime != m_Time)
            AppendRests(m_Time - m_LastEndTime);
    }

    void EndNote()
    {
        const qint64 ticks = qMin<qint64>(m_Time - m_StartTime, INT_MAX);
        const bool tooShort = m_WorkNote.SetDurationFromTicks(static_cast<int>(ticks), m_nTicksPerQuarter) < 0;
        m_LastEndTime = m_Time;
        if (tooShort) {
            // Like a gap this short, it is not written: the notes of a chord
            // end one another at once and only the last one sounds.
            m_nSoundingKey = kNone;
            return;
        }
        m_WorkNote.SetMidiKey(m_nSoundingKey);
        const int volume = (m_nFollowedChannel >= 0) ? m_ChannelVolumes[m_nFollowedChannel] : 127;
        m_WorkNote.SetVolume(m_nSavedVelocity, volume);
        m_List.append(m_WorkNote.Clone());
        qDebug().noquote() << m_WorkNote.Dump();
        m_nSoundingKey = kNone;
        m_bNoteEnded = true;
    }

    // Leading silence is never made: rests only follow a note that ended.
    void AppendRests(qint64 gap)
    {
        if (m_nTicksPerQuarter == 0)
            return;
        qint64 remaining = qMin<qint64>(gap, INT_MAX);
        for (int made = 0; remaining > 0 && made < kMaxRestsPerGap; ++made) {
            const int left = m_WorkNote.SetDurationFromTicks(static_cast<int>(remaining), m_nTicksPerQuarter);
            if (left < 0)
                break;
            MidiNote* rest = new MidiNote;
            rest->SetDuration(m_WorkNote.GetDuration());
            rest->SetDurationModifier(m_WorkNote.GetDurationModifier());
            m_List.append(rest);
            // Coarse resolutions can leave as much as they were given.
            if (left >= remaining)
                break;
            remaining = left;
        }
    }

    MelodyNoteList& m_List;
    const int m_nTicksPerQuarter;
    MelodyProgressCallback m_Progress;
    const FollowRule m_Rule;
    MidiNote m_WorkNote;
    int m_nFollowedProgram = kNoProgram;
    int m_nFollowedChannel = kNone;
    int m_nSoundingKey = kNone;
    int m_ChannelPrograms[16] = {};
    int m_ChannelVolumes[16];
    qint64 m_Time = 0;
    qint64 m_StartTime = 0;
    qint64 m_LastEndTime = 0;
    bool m_bNoteEnded = false;
    int m_nSavedVelocity = 0;
    qint64 m_nProgressTotal = 0;
    bool m_bTotalTaken = false;
    bool m_bHeardMelodicNote = false;
};

void DropLeadingSilence(MelodyNoteList& list)
{
    int first = 0;
    while (first < list.count()) {
        const MelodyElement* element = list.at(first);
        if (element->GetElementType() == MelodyElement::Note && !static_cast<const MidiNote*>(element)->IsSilence())
            break;
        ++first;
    }
    for (int i = 0; i < first; ++i)
        list.removeAt(0);
}

// One walk over the tracks until one of them yields a note; false when the
// file played a note on no channel but the drums.
bool Walk(const MidiStream& stream, CDocumentMelody* melody, MelodyProgressCallback progress, FollowRule rule)
{
    CMelodyExtractor extractor(melody->GetMelodyNoteList(), stream.GetDivision(), progress, rule);
    for (const MidiTrack* track = stream.GetTrackList().GetFirstLinkedTrack(); track; track = track->GetNext())
        if (!extractor.WalkTrack(track))
            break;
    DropLeadingSilence(melody->GetMelodyNoteList());
    return extractor.HeardMelodicNote();
}

// The length of the notes and rests in 96ths of a quarter note.
qint64 LengthIn96ths(const MelodyNoteList& list)
{
    qint64 length = 0;
    for (const MelodyElement* element : list)
        if (element->GetElementType() == MelodyElement::Note)
            length += static_cast<const MidiNote*>(element)->GetLengthIn96ths();
    return length;
}

// The channel, and its track, that plays the most notes (drums apart); on a
// tie the earlier track, and within a track the channel that plays first.
struct BusiestChannel
{
    const MidiTrack* track = nullptr;
    int channel = kNone;
};

BusiestChannel FindBusiestChannel(const MidiStream& stream)
{
    BusiestChannel busiest;
    int most = 0;
    // Counts per channel of the track being walked, settled when it ends.
    const MidiTrack* track = nullptr;
    int counts[16] = {};
    QList<int> byFirstNote;
    const auto settleTrack = [&]() {
        for (int channel : byFirstNote) {
            if (counts[channel] > most) {
                most = counts[channel];
                busiest = BusiestChannel{track, channel};
            }
            counts[channel] = 0;
        }
        byFirstNote.clear();
    };
    ForEachTimedEvent(stream, [&](const MidiTimedEvent& timed) {
        if (timed.track != track) {
            settleTrack();
            track = timed.track;
        }
        const int channel = timed.event->GetStatus() & 0x0F;
        if ((timed.event->GetStatus() & 0xF0) != 0x90 || channel == CMidiInstrumentUsage::DrumChannel)
            return;
        const MidiMessageEvent* message = timed.Message();
        if (!message || message->GetData2() == 0)
            return;
        if (counts[channel]++ == 0)
            byFirstNote.append(channel);
    });
    settleTrack();
    return busiest;
}

// A melody under half the span of the notes has lost its way: a pad that
// plays a few notes, a channel that enters late. The busiest channel, walked
// alone in its own track, gives the tune when its melody is longer.
void TakeTheBusiestChannelWhenShort(const MidiStream& stream, MelodyNoteList& list)
{
    const qint64 ticksPerQuarter = stream.GetDivision();
    const MidiNoteSpan span = MidiNoteSpan::Of(stream);
    if (ticksPerQuarter <= 0 || !span.hasNotes)
        return;
    // length / 96 < (span ticks / ticks per quarter) / 2, in whole numbers.
    const qint64 length = LengthIn96ths(list);
    if (2 * length * ticksPerQuarter >= 96 * span.Ticks())
        return;
    const BusiestChannel busiest = FindBusiestChannel(stream);
    if (!busiest.track)
        return;
    MelodyNoteList alone;
    CMelodyExtractor extractor(alone, stream.GetDivision(), nullptr, FollowRule::FixedChannel, busiest.channel);
    extractor.WalkTrack(busiest.track);
    DropLeadingSilence(alone);
    if (LengthIn96ths(alone) > length)
        list = std::move(alone);
}
} // namespace

CDocumentMelody* CDocumentMidi::BuildMelodyDocument(MelodyProgressCallback progress)
{
    ASSERT(m_pMidiStream);
    if (progress)
        progress(0);

    delete m_pMelodyDocument;
    m_pMelodyDocument = new CDocumentMelody;
    m_pMelodyDocument->SetName(GetName());
    m_pMelodyDocument->SetBeat(GetTempo());
    if (!m_pMidiStream)
        return m_pMelodyDocument;

    const bool heardMelodicNote = Walk(*m_pMidiStream, m_pMelodyDocument, progress, FollowRule::FirstProgram);
    // The program that was followed never played: follow the channel that does.
    if (m_pMelodyDocument->GetMelodyNoteList().isEmpty() && heardMelodicNote)
        Walk(*m_pMidiStream, m_pMelodyDocument, progress, FollowRule::FirstNote);
    TakeTheBusiestChannelWhenShort(*m_pMidiStream, m_pMelodyDocument->GetMelodyNoteList());
    return m_pMelodyDocument;
}
