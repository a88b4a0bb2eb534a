// The merged format 0 file into the command table, keeping only what an
// MSEQ sequence can use, and the reduced MIDI file written back from it.
#include "PolyraStages.h"
#include "PolyraWorkspace.h"

#include "Util/CMemFile.h"

#include <algorithm>
#include <cstring>

namespace PolyraStages {
namespace {
const int kMaxStrayBytes = 128;
const int kMaxStoredData = 6;
const uint8_t kDefaultTimeSignature[8] = {0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08};
const uint8_t kDefaultTempo[7] = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20};
const int kTimeSignatureData = 26;

// Data bytes of a channel message by its status nibble, and whether the
// sequence can use it at all.
const int kChannelLength[8] = {2, 2, 2, 2, 1, 1, 2, 0};

// Records what the command sets (the header's tempo and time signature, the
// text track, a later tempo for the fold) and says whether it stays in the
// table.
bool RecordAndKeep(PolyraWorkspace& ws, const PolyraCommand& command, int index, uint64_t tick)
{
    switch (command.type) {
    case CmdNoteOff:
    case CmdNoteOn:
    case CmdProgram:
        return true;
    case CmdControl:
        // Only the channel volume: an all-notes-off would become a VOLUME.
        return command.data[0] == 7;
    case CmdSystem:
        break;
    default:
        return false;
    }
    if (command.status != 0xFF || command.length < 2)
        return false;
    const uint8_t meta = command.data[0];
    if (meta == 0x01 || meta == 0x05) {
        if (!ws.parameters.textTrack || (command.data[1] > 0 && command.data[2] == '@'))
            return false;
        ws.writer.SetTrackCount(std::max(ws.writer.GetTrackCount(), 2));
        return true;
    }
    if (meta != 0x51 && meta != 0x58)
        return false;
    const bool tempo = meta == 0x51;
    // A tempo without its three bytes sets nothing, so it must not take the
    // place of the first tempo and push out a valid one that follows.
    if (tempo && command.data[1] != 3)
        return false;
    // The first one always stays, wherever it comes: without it the piece
    // would play at the default tempo.
    int& kept = tempo ? ws.tempoEvents : ws.timeSignatureEvents;
    const uint32_t value =
        tempo ? (uint32_t(command.data[2]) << 16) | (uint32_t(command.data[3]) << 8) | command.data[4] : 0;
    // A later tempo leaves the table, but not the tune: the times of the
    // notes take it in once the table is read.
    if (ws.seenNoteOrProgram && kept > 0 && tempo) {
        ws.laterTempos.push_back({tick, value});
        return false;
    }
    if (ws.seenNoteOrProgram && kept > 0) {
        ws.trace->Line(PolyraTrace::UserLine, "\nUSER : Time signature redefinition within MIDI file:\n");
        ws.trace->Line(PolyraTrace::UserLine, "\ncde = %lu\n", static_cast<unsigned long>(index));
        ws.trace->Line(PolyraTrace::UserLine, "\tMSEQ file will perhaps be non-playable !\n");
        return false;
    }
    ++kept;
    if (tempo) {
        ws.tempo = value;
        std::memcpy(ws.header + PolyraWorkspace::HeaderTempoAt, command.data + 2, 3);
    } else if (!tempo && command.data[1] == 4 && command.length >= 6)
        std::memcpy(ws.header + kTimeSignatureData, command.data + 2, 4);
    return true;
}
} // namespace

bool ReadCommandTable(PolyraWorkspace& ws, const CMemFile& format0)
{
    ws.trace->Line(PolyraTrace::StageLine, "*** Lecture du fichier MIDI source...\n");
    const uint8_t* data = format0.GetBuffer();
    const uint32_t size = format0.GetSize();
    if (!data || size < 22)
        return ws.Fail(ErrFormat0);
    std::memcpy(ws.header, data, 22);
    std::memcpy(ws.header + 22, kDefaultTimeSignature, sizeof kDefaultTimeSignature);
    std::memcpy(ws.header + 30, kDefaultTempo, sizeof kDefaultTempo);
    ws.division = (uint32_t(data[12]) << 8) | data[13];
    ws.tempo = 500000;
    ws.tempoEvents = 0;
    ws.timeSignatureEvents = 0;

    uint64_t pending = 0;
    uint64_t ticks = 0; // of the commands kept
    uint32_t at = 22;
    bool ended = false;
    while (!ended && at < size) {
        uint64_t delta = 0;
        if (!ReadVarLen(data, size, at, 8, delta))
            break;
        pending += delta;
        int stray = 0;
        while (at < size && data[at] < 0x80 && stray < kMaxStrayBytes) {
            ws.trace->Line(PolyraTrace::Detail, "\tcde impossible = %x trouvee suite a delta_time\n", data[at]);
            ++at;
            ++stray;
        }
        if (at >= size)
            break;
        if (stray == kMaxStrayBytes) {
            ws.trace->Line(PolyraTrace::UserLine,
                           "\nUSER : MIDI non-compatible command has been found and ignored (&%x) at: %lu. MIDI file "
                           "is incorrect\n",
                           data[at], static_cast<unsigned long>(at));
            continue;
        }
        const uint32_t start = at;
        const uint8_t status = data[at++];
        PolyraCommand command;
        command.status = status;
        command.type = int16_t(status >> 4);
        command.channel = status < 0xF0 ? (status & 0x0F) : 0;
        uint64_t length = 0;
        if (status < 0xF0)
            length = uint64_t(kChannelLength[(status >> 4) - 8]);
        else if (status == 0xF0 || status == 0xF7)
            length = at < size ? 1 + uint64_t(data[at]) : 1;
        else if (status == 0xFF) {
            length = at + 1 < size ? 2 + uint64_t(data[at + 1]) : 2;
            if (at + 1 < size && data[at] == 0x2F) {
                ws.endDelta = uint32_t(std::min<uint64_t>(pending, 0xFFFFFFFFu));
                pending = 0;
                ended = true;
                break;
            }
        } else if (status == 0xF1 || status == 0xF3)
            length = 1;
        else if (status == 0xF2)
            length = 2;
        else
            ws.trace->Line(PolyraTrace::UserLine,
                           "\nUSER : Command %lx is MIDI undefined and can not be processed. Assume following data "
                           "length=0\n",
                           static_cast<unsigned long>(status));
        if (length > size - at)
            break;
        at += uint32_t(length);
        if (length > uint64_t(kMaxStoredData))
            continue;
        command.length = uint16_t(length);
        std::memcpy(command.data, data + start + 1, size_t(length));
        command.hexa = uint32_t(status) << 24;
        for (uint64_t i = 0; i < length && i < 3; ++i)
            command.hexa |= uint32_t(command.data[i]) << (16 - 8 * i);
        if (!RecordAndKeep(ws, command, int(ws.commands.size()), ticks + std::min<uint64_t>(pending, 0xFFFFFFFFu)))
            continue;
        if (command.type == CmdNoteOn || command.type == CmdProgram)
            ws.seenNoteOrProgram = true;
        if (ws.commands.size() >= size_t(PolyraWorkspace::MaxCommands)) {
            ws.trace->Line(PolyraTrace::UserLine,
                           "\tUSER : MIDI file too large (too much MIDI commands) - converter memory limit exceed (%ld "
                           "bytes were already read)\n",
                           static_cast<long>(start));
            return ws.Fail(ErrWorkspaceOverflow);
        }
        command.delta = uint32_t(std::min<uint64_t>(pending, 0xFFFFFFFFu));
        ticks += command.delta;
        pending = 0;
        ws.commands.push_back(command);
    }
    if (!ended)
        ws.endDelta = uint32_t(std::min<uint64_t>(pending, 0xFFFFFFFFu));
    return true;
}

bool WriteDestMidi(PolyraWorkspace& ws, CMemFile& dest)
{
    ws.trace->Line(PolyraTrace::StageLine, "\n*** Ecriture du fichier MIDI en sortie...\n");
    QByteArray body;
    body.reserve(int(ws.commands.size()) * 5 + 64);
    uint64_t carried = 0;
    for (const PolyraCommand& command : ws.commands) {
        if (command.type == CmdSyncTag || !command.IsActive()) {
            carried += command.delta;
            continue;
        }
        AppendVarLen(body, carried + command.delta);
        carried = 0;
        body.append(char(command.status));
        body.append(reinterpret_cast<const char*>(command.data), command.length);
    }
    AppendVarLen(body, carried + ws.endDelta);
    body.append("\xFF\x2F\x00", 3);
    const uint32_t trackLength = uint32_t(body.size()) + 15;
    uint8_t header[PolyraWorkspace::HeaderBlockSize];
    std::memcpy(header, ws.header, sizeof header);
    // The deltas were divided with the division: the file keeps the pace.
    header[12] = uint8_t(ws.division >> 8);
    header[13] = uint8_t(ws.division);
    for (int i = 0; i < 4; ++i)
        header[18 + i] = uint8_t(trackLength >> (24 - 8 * i));
    dest.Seek(0, 0);
    return dest.Write(header, 1, sizeof header) == sizeof header
           && dest.Write(body.constData(), 1, uint(body.size())) == uint(body.size());
}
} // namespace PolyraStages
