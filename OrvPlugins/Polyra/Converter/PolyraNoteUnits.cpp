// The duration unit of the NOTE commands (RTB) and every note's length in
// it, worked out once per conversion so that both writings of the MISC track
// and the log agree.
#include "PolyraNotePairs.h"
#include "PolyraStages.h"
#include "PolyraWorkspace.h"
#include "PolyraWrittenNotes.h"

#include <QString>

#include <algorithm>
#include <numeric>
#include <vector>

namespace PolyraStages {
namespace {
// The notes of the table; a note without NOTE OFF lasts to the end.
std::vector<PolyraNote> TimeNotes(PolyraWorkspace& ws)
{
    std::vector<PolyraNote> notes = PairNotes(ws);
    for (const PolyraNote& note : notes)
        if (note.toEnd)
            ws.trace->Line(PolyraTrace::Detail, "CALCUL_RTB : note ON permanent (sans note OFF trouv\xe9)\n");
    return notes;
}

struct UnitChoice
{
    uint64_t gcd = 0;
    uint64_t unit = 1;
};

// The common divisor of the durations keeps every note exact, and is the
// unit while the longest note fits the duration field in it. Otherwise the
// unit grows to the smallest that holds the longest note, but never past a
// thirty-second note: a coarser one would round short notes away and blur
// rhythms, and the few notes longer than the field then holds (128 quarter
// notes, mostly a note whose release never came) are cut instead.
UnitChoice ChooseUnit(const std::vector<PolyraNote>& notes, uint32_t division)
{
    uint64_t gcd = 0;
    uint64_t longest = 0;
    for (const PolyraNote& note : notes) {
        gcd = std::gcd(gcd, note.Ticks());
        longest = std::max(longest, note.Ticks());
    }
    UnitChoice choice{gcd, gcd};
    // The RTB word holds 11 bits: the largest divisor that fits still
    // divides every duration.
    if (choice.unit > Mseq::FieldMax) {
        choice.unit = Mseq::FieldMax;
        while (gcd % choice.unit)
            --choice.unit;
    }
    if (choice.unit == 0)
        choice.unit = 1;
    if (longest <= choice.unit * Mseq::DurationMax)
        return choice;
    const uint64_t thirtySecond = std::clamp<uint64_t>(division / 8, 1, Mseq::FieldMax);
    if (thirtySecond <= choice.unit)
        return choice;
    const uint64_t holding = (longest + Mseq::DurationMax - 1) / Mseq::DurationMax;
    choice.unit = std::min(holding, thirtySecond);
    return choice;
}

// Each note in whole units, rounded down so that none outlasts its MIDI
// length nor the voices the budget left it, and held to the field. The
// notes cut to the field are counted.
unsigned long FitToField(PolyraWorkspace& ws, const std::vector<PolyraNote>& notes)
{
    unsigned long cut = 0;
    for (const PolyraNote& note : notes) {
        cut += note.Ticks() > Mseq::DurationMax * ws.rtb;
        ws.noteUnits[note.on] = uint16_t(std::min<uint64_t>(note.Ticks() / ws.rtb, Mseq::DurationMax));
    }
    return cut;
}
} // namespace

void ComputeRtb(PolyraWorkspace& ws)
{
    const std::vector<PolyraNote> notes = TimeNotes(ws);
    const UnitChoice choice = ChooseUnit(notes, ws.division);
    ws.rtb = choice.unit;
    ws.trace->Line(PolyraTrace::Detail, "\nCALCUL_RTB : pgcd des running time des cdes NOTE : rtb=%lu\n",
                   static_cast<unsigned long>(choice.gcd));

    ws.noteUnits.assign(ws.commands.size(), 0);
    const unsigned long cut = FitToField(ws, notes);
    const unsigned long dropped = PlaceShortNotes(ws, notes);
    if (dropped)
        ws.trace->Notice("id_short_notes_left_out", QString::number(dropped));
    if (cut)
        ws.trace->Notice("id_long_notes_cut", QString::number(cut),
                         QString::number(double(Mseq::DurationMax) * double(ws.rtb) * ws.atb / 1e6, 'f', 1));
}
} // namespace PolyraStages
