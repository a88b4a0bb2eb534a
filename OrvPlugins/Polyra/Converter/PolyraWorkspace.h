#pragma once
// The pipeline's working storage: the command table of the merged MIDI file,
// the channel and note state the stages walk with, the settings and the
// MSEQ writer. One instance serves every conversion of the process.
#include "MseqWriter.h"
#include "PolyraSettings.h"
#include "PolyraTrace.h"

#include <cstdint>
#include <vector>

class IMseqProgressSink;

enum PolyraCommandType : int16_t
{
    CmdErased = -1,
    CmdSyncTag = -2,
    CmdNoteOff = 8,
    CmdNoteOn = 9,
    CmdControl = 11,
    CmdProgram = 12,
    CmdSystem = 15
};

struct PolyraCommand
{
    uint32_t delta = 0; // ticks since the previous command
    uint32_t hexa = 0;  // the first bytes as read, for the traces
    int16_t type = CmdErased;
    uint8_t status = 0;  // full status byte (0xFF for meta events)
    uint8_t channel = 0; // for a tag: its number
    uint16_t length = 0;
    uint8_t data[6] = {};

    bool IsActive() const { return type != CmdErased; }
    bool IsNote() const { return type == CmdNoteOn || type == CmdNoteOff; }
};

// Conversion errors by their numbers; 0 is no error text.
enum PolyraError
{
    ErrNone = 0,
    ErrAllVolumesNull = 2,
    ErrTempoNull = 3,
    ErrTempoTooBig = 4,
    ErrWorkingSpace = 6,
    ErrFormat0 = 10,
    ErrWorkspaceOverflow = 15,
    ErrInputTooBig = 16,
    ErrNotMseq = 17
};

// The instrument class and volume of each channel as a walk of the table
// reaches them.
struct PolyraChannels
{
    int classOf[16] = {};
    int volume[16] = {};

    // Class 0, drums on channel 9, volume 127: where every walk starts.
    void Reset();
    // Follows a program change or volume change.
    void Track(const PolyraCommand& command);
};

// A tempo event of the tune that the sequence's one tempo does not hold.
struct PolyraTempoChange
{
    uint64_t tick = 0;  // in the table's ticks
    uint32_t tempo = 0; // microseconds a quarter note
};

struct PolyraClassStats
{
    int volumeAfter = 0;
    int lowBefore = 127, highBefore = 0, lowAfter = 127, highAfter = 0;
    unsigned movedUp = 0, movedDown = 0, notes = 0;
};

class PolyraWorkspace
{
public:
    static constexpr int MaxCommands = 35000;
    static constexpr int HeaderBlockSize = 37;
    // Where the tempo's three bytes sit in the header block.
    static constexpr int HeaderTempoAt = 34;

    PolyraWorkspace();

    // Back to an empty table and fresh state for a new conversion.
    void Init(const PolyraProfile& profile, const PolyraParameters& parameters, PolyraTrace* trace,
              IMseqProgressSink* progress);

    // Erasing moves the command's delta onto the next one, so that time is
    // kept whichever commands a walk skips.
    void Erase(int index);
    // False (and the table as it was) when the table is full.
    bool Insert(int index, const PolyraCommand& command);

    // Channel state at the start of every walk: class 0, drums on channel 9,
    // volume 127.
    void ResetChannels() { channels.Reset(); }
    // Follows a program change or volume change into the channel state.
    void TrackChannel(const PolyraCommand& command) { channels.Track(command); }

    // The sequence's tempo (microseconds a quarter note), into the header
    // block, the tick length and the release times in ticks.
    void ApplyTempo(uint32_t microseconds);
    // Makes one tick of the table `divisor` ticks long: the division, every
    // delta and the release times in ticks are divided together.
    void DivideTicks(uint32_t divisor);

    int ClassOf(int channel) const { return channels.classOf[channel]; }
    bool Fail(int code);
    void ReportError(int code);

    std::vector<PolyraCommand> commands;
    // The end-of-track event's delta: the time after the last command.
    uint32_t endDelta = 0;
    uint8_t header[HeaderBlockSize] = {};
    uint32_t division = 0;
    uint32_t tempo = 500000;
    bool seenNoteOrProgram = false;
    // The tempo events the table leaves out (those after the first note or
    // program change, once one tempo is kept), in file order.
    std::vector<PolyraTempoChange> laterTempos;
    // Tempo and time-signature events kept while reading.
    int tempoEvents = 0;
    int timeSignatureEvents = 0;
    uint32_t sourceSize = 0;

    PolyraProfile profile;
    PolyraParameters parameters;
    PolyraTrace* trace = nullptr;
    IMseqProgressSink* progress = nullptr;

    double tickLength = 0; // microseconds
    float releaseTicks[Polyra::ClassCount] = {};
    float maxima[Polyra::LoadKinds] = {};
    float peaksBefore[Polyra::LoadKinds] = {};
    float peaksAfter[Polyra::LoadKinds] = {};
    unsigned long overloads[Polyra::LoadKinds] = {};

    PolyraChannels channels;

    PolyraClassStats stats[Polyra::ClassCount];
    bool classHasNotes[Polyra::ClassCount] = {};
    bool sineMode = false;
    int defaultVolume = 127;
    int booster = 1;
    int equalizer = 0;
    uint32_t atb = 0;
    uint64_t rtb = 1;
    int tagCount = 0;
    int error = ErrNone;
    MseqWriter writer;
    // Each note's duration in RTB units as the MISC track writes it, by the
    // index of its NOTE ON; 0 leaves the note out.
    std::vector<uint16_t> noteUnits;
};
