// Any MIDI file becomes one format 0 track: the tracks' events are written
// in time order with every status byte spelled out, keeping only what the
// command table can use (channel messages and the tempo, time and key
// signatures).
#include "PolyraStages.h"
#include "PolyraWorkspace.h"

#include "MseqRender.h"
#include "Util/CMemFile.h"

#include <algorithm>
#include <limits>

namespace PolyraStages {
namespace {
const int kMaxTracks = 256;
const uint32_t kDefaultEndDelta = 350;
const uint32_t kLongestEndDelta = 1000;
const uint64_t kProgressTicks = 100;

struct TrackCursor
{
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    uint32_t at = 0;
    uint64_t due = 0;
    uint8_t running = 0;
    bool ended = false;
    uint64_t endDelta = 0;
};

uint32_t ReadU32(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

void AppendU32(QByteArray& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((value >> shift) & 0xFF));
}

// Reads the next delta; a track whose data ends (before or right after the
// delta) or whose number is too long ends.
void NextDue(TrackCursor& track)
{
    uint64_t delta = 0;
    if (track.at >= track.size || !ReadVarLen(track.data, track.size, track.at, 4, delta) || track.at >= track.size) {
        track.ended = true;
        return;
    }
    track.due += delta;
    track.endDelta = delta;
}

// Any failure but a cancel says so in the trace before its error text.
bool FailMerge(PolyraWorkspace& ws)
{
    ws.trace->Line(PolyraTrace::StageLine, "Erreur de conversion au format 0\n, ");
    return ws.Fail(ErrFormat0);
}
} // namespace

bool ReadVarLen(const uint8_t* data, uint32_t size, uint32_t& at, int maxBytes, uint64_t& value)
{
    value = 0;
    for (int count = 0; count < maxBytes; ++count) {
        if (at >= size)
            return false;
        const uint8_t byte = data[at++];
        value = (value << 7) | (byte & 0x7F);
        if (!(byte & 0x80))
            return true;
    }
    return false;
}

void AppendVarLen(QByteArray& out, uint64_t value)
{
    uint8_t groups[10];
    int count = 0;
    do {
        groups[count++] = uint8_t(value & 0x7F);
        value >>= 7;
    } while (value && count < 10);
    while (count > 1)
        out.append(char(groups[--count] | 0x80));
    out.append(char(groups[0]));
}

bool MergeToFormat0(PolyraWorkspace& ws, const uint8_t* source, uint32_t size, CMemFile& format0, bool* cancelled)
{
    *cancelled = false;
    ws.trace->Line(PolyraTrace::UserLine, "\nUSER : MIDI format 1: temporiraly converted to format 0\n");
    if (size < 14 || !std::equal(source, source + 4, "MThd"))
        return FailMerge(ws);
    const uint32_t headerLength = ReadU32(source + 4);
    const int trackCount = (source[10] << 8) | source[11];
    if (trackCount > kMaxTracks)
        return FailMerge(ws);

    std::vector<TrackCursor> tracks;
    uint64_t at = 8 + uint64_t(std::max<uint32_t>(headerLength, 6));
    while (int(tracks.size()) < trackCount && at + 8 <= size) {
        const uint8_t* chunk = source + at;
        const uint32_t declared = ReadU32(chunk + 4);
        // A chunk that claims more than the file holds reads what is there.
        const uint32_t length = uint32_t(std::min<uint64_t>(declared, size - at - 8));
        if (std::equal(chunk, chunk + 4, "MTrk")) {
            TrackCursor track;
            track.data = chunk + 8;
            track.size = length;
            track.ended = length == 0;
            if (!track.ended)
                NextDue(track);
            tracks.push_back(track);
        }
        at += 8 + uint64_t(length);
    }

    QByteArray out;
    out.reserve(int(size) + 64);
    out.append(reinterpret_cast<const char*>(source), 8);
    out[4] = 0;
    out[5] = 0;
    out[6] = 0;
    out[7] = 6;
    out.append(char(0));
    out.append(char(0));
    out.append(char(0));
    out.append(char(1));
    out.append(char(source[12]));
    out.append(char(source[13]));
    out.append("MTrk", 4);
    AppendU32(out, 0);

    uint64_t lastWritten = 0;
    uint64_t lastPoll = 0;
    uint64_t lastEndDelta = 0;
    for (;;) {
        uint64_t now = std::numeric_limits<uint64_t>::max();
        for (const TrackCursor& track : tracks)
            if (!track.ended)
                now = std::min(now, track.due);
        if (now == std::numeric_limits<uint64_t>::max())
            break;
        if (now / kProgressTicks != lastPoll / kProgressTicks || now == 0) {
            lastPoll = now;
            if (ws.progress)
                ws.progress->ReportProgress("", -1, 4);
            if (MseqStopRequested()) {
                *cancelled = true;
                return false;
            }
        }
        for (TrackCursor& track : tracks) {
            if (track.ended || track.due != now)
                continue;
            bool endedByEvent = false;
            while (!track.ended && track.due == now) {
                const uint8_t* data = track.data;
                uint8_t status = data[track.at];
                if (status >= 0x80)
                    ++track.at;
                else if (track.running)
                    status = track.running;
                else {
                    track.ended = true;
                    break;
                }
                auto writeEvent = [&](const uint8_t* bytes, uint32_t count) {
                    AppendVarLen(out, now - lastWritten);
                    lastWritten = now;
                    out.append(char(status));
                    out.append(reinterpret_cast<const char*>(bytes), int(count));
                };
                if (status < 0xF0) {
                    track.running = status;
                    const uint32_t count = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
                    if (track.at + count > track.size) {
                        track.ended = true;
                        break;
                    }
                    writeEvent(data + track.at, count);
                    track.at += count;
                } else if (status == 0xF0 || status == 0xF7) {
                    uint64_t length = 0;
                    if (!ReadVarLen(data, track.size, track.at, 4, length) || length > track.size - track.at) {
                        track.ended = true;
                        break;
                    }
                    track.at += uint32_t(length);
                } else if (status == 0xFF) {
                    const uint32_t start = track.at;
                    uint64_t length = 0;
                    if (track.at >= track.size) {
                        track.ended = true;
                        break;
                    }
                    const uint8_t type = data[track.at++];
                    if (!ReadVarLen(data, track.size, track.at, 4, length) || length > track.size - track.at) {
                        track.ended = true;
                        break;
                    }
                    if (type == 0x2F) {
                        track.ended = true;
                        endedByEvent = true;
                        break;
                    }
                    track.at += uint32_t(length);
                    if (type == 0x51 || type == 0x58 || type == 0x59)
                        writeEvent(data + start, track.at - start);
                } else
                    ws.trace->Line(PolyraTrace::Detail, "UNKNOWN %02x   \n", status);
                NextDue(track);
            }
            // The last track to end gives the merged end its delta; one cut
            // short has none.
            if (track.ended)
                lastEndDelta = endedByEvent ? track.endDelta : 0;
        }
    }

    const uint64_t finalDelta = lastEndDelta == 0 || lastEndDelta > kLongestEndDelta ? kDefaultEndDelta : lastEndDelta;
    AppendVarLen(out, finalDelta);
    out.append("\xFF\x2F\x00", 3);
    const uint32_t trackLength = uint32_t(out.size() - 22);
    for (int i = 0; i < 4; ++i)
        out[18 + i] = char((trackLength >> (24 - 8 * i)) & 0xFF);
    format0.Seek(0, 0);
    if (format0.Write(out.constData(), 1, uint(out.size())) != uint(out.size()))
        return FailMerge(ws);
    return true;
}
} // namespace PolyraStages
