// The media script beside the sources: pictures and texts shown at given
// times, tied to the notes by synchronisation tags.
#include "PolyraStages.h"
#include "PolyraWorkspace.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace PolyraStages {
namespace {
const qint64 kMaxLine = 200;
// Far beyond any piece, yet clear of overflow when deltas are added to it.
const double kMaxTicks = 4.0e18;

bool ParseSeconds(const QByteArray& text, double* seconds)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < 0)
        return false;
    *seconds = value;
    return true;
}

uint64_t SecondsToTicks(const PolyraWorkspace& ws, double seconds)
{
    const double ticks = seconds * 1000000.0 / ws.tickLength;
    if (!(ticks > 0))
        return 0;
    return uint64_t(std::min(ticks, kMaxTicks));
}

// Inserts the next tag at the tick (or the last command at or before it,
// when within the window); false when the table is full.
bool InsertTag(PolyraWorkspace& ws, uint64_t target, uint64_t window, uint64_t* exact)
{
    uint64_t sum = 0;
    size_t k = 0;
    for (; k < ws.commands.size(); ++k) {
        if (sum + ws.commands[k].delta > target)
            break;
        sum += ws.commands[k].delta;
    }
    const uint64_t remainder = target - sum;
    uint64_t tagDelta = remainder <= window ? 0 : remainder;
    if (k < ws.commands.size())
        ws.commands[k].delta -= uint32_t(tagDelta);
    else {
        tagDelta = std::min<uint64_t>(tagDelta, 0xFFFFFFFFu);
        ws.endDelta = uint32_t(ws.endDelta > tagDelta ? ws.endDelta - tagDelta : 0);
    }
    PolyraCommand tag;
    tag.type = CmdSyncTag;
    tag.delta = uint32_t(tagDelta);
    tag.channel = uint8_t(ws.tagCount + 1);
    if (!ws.Insert(int(k), tag))
        return false;
    ++ws.tagCount;
    *exact = sum + tagDelta;
    return true;
}
} // namespace

bool InsertMedia(PolyraWorkspace& ws, QIODevice* script)
{
    if (!script) {
        ws.trace->Line(PolyraTrace::UserLine, "\tpas de fichier .EMI d'insertion de media externes\n");
        return true;
    }
    MseqWriter& writer = ws.writer;
    writer.OpenTrack(Mseq::TrackText);
    writer.OpenTrack(Mseq::TrackPicture);
    writer.SetTrackCount(Mseq::MaxTrackCount);
    ws.trace->Line(PolyraTrace::UserLine, "\tTscript (mS)\tTexact (mS)\tTYPE\tCONTENU/N\xb0\n");
    uint64_t window = 0;
    unsigned inserted = 0;
    while (!script->atEnd()) {
        QByteArray line = script->readLine(kMaxLine + 1);
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith("//"))
            continue;
        const int firstTab = int(line.indexOf('\t'));
        const int secondTab = firstTab < 0 ? -1 : int(line.indexOf('\t', firstTab + 1));
        double seconds = 0;
        if (secondTab < 0 || !ParseSeconds(line.left(firstTab), &seconds))
            continue;
        const QByteArray type = line.mid(firstTab + 1, secondTab - firstTab - 1);
        const QByteArray content = line.mid(secondTab + 1);
        const uint64_t ticks = SecondsToTicks(ws, seconds);
        if (type == "QTZ") {
            window = ticks;
            continue;
        }
        const int track = type == "PIC" ? Mseq::TrackPicture : type == "TXT" ? Mseq::TrackText : -1;
        if (track < 0) {
            ws.trace->Line(PolyraTrace::UserLine, "USAGER : Commande EMI inconnue => ignoree\n");
            continue;
        }
        uint64_t exact = 0;
        if (!InsertTag(ws, ticks, window, &exact)) {
            ws.trace->Line(PolyraTrace::UserLine,
                           "\n\nUSER : MIDI file too large (too much MIDI commands) - converter memory limit exceed\n");
            return ws.Fail(ErrWorkingSpace);
        }
        ws.trace->Line(PolyraTrace::UserLine, "\t%f\t%f\t%s\t%s\n", seconds * 1000.0,
                       double(exact) * ws.tickLength / 1000.0, type.constData(), content.constData());
        bool written = writer.WriteSynchro(track, ws.tagCount);
        if (track == Mseq::TrackPicture)
            written = written && writer.WriteUseObject(track, uint16_t(std::strtol(content.constData(), nullptr, 0)));
        else
            written = written && writer.WriteLongText(track, content.constData(), int(content.size()));
        if (!written)
            return ws.Fail(ErrWorkspaceOverflow);
        ++inserted;
    }
    ws.trace->Line(PolyraTrace::UserLine, "%u media inseres\n", inserted);
    if (!writer.CloseTrack(Mseq::TrackText) || !writer.CloseTrack(Mseq::TrackPicture))
        return ws.Fail(ErrWorkspaceOverflow);
    return true;
}
} // namespace PolyraStages
