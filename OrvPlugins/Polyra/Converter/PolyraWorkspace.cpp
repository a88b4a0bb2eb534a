#include "PolyraWorkspace.h"

#include <QString>

#include <algorithm>

namespace {
const char* const kErrorTexts[] = {
    "",
    "NOTE OFF ERROR",
    "ALL VOLUMES NULL",
    "MIDI TEMPO NULL",
    "MIDI TEMPO TOO BIG",
    "MIDI FILE NOT FOUND",
    "WORKING SPACE OVERFLOW",
    "PARAM FILE 1 MISSING",
    "PARAM FILE 2 MISSING",
    "PARAM FILE 3 MISSING",
    "FORMAT 1 TO FORMAT 0 CONVERSION ERROR",
    "SEQ TO WAV CMD FILE CREATION ERROR",
    "WAV CONVERSION ERROR",
    "NO WAV CONVERTER LOG FILE",
    "WAV CONVERTER RESULT ERROR",
    "WORKSPACE OVERFLOW",
    "MIDI INPUT FILE TOO BIG",
    "NOT AN MSEQ FILE\t\t              ",
};
const int kErrorTextWidth = 37;
} // namespace

PolyraWorkspace::PolyraWorkspace()
{
    commands.reserve(MaxCommands);
    noteUnits.reserve(MaxCommands);
}

void PolyraWorkspace::Init(const PolyraProfile& profileRecord, const PolyraParameters& parameterRecord,
                           PolyraTrace* traceSink, IMseqProgressSink* progressSink)
{
    commands.clear();
    noteUnits.clear();
    endDelta = 0;
    std::fill(std::begin(header), std::end(header), 0);
    division = 0;
    tempo = 500000;
    seenNoteOrProgram = false;
    laterTempos.clear();
    tempoEvents = 0;
    timeSignatureEvents = 0;
    sourceSize = 0;
    profile = profileRecord;
    parameters = parameterRecord;
    trace = traceSink;
    progress = progressSink;
    tickLength = 0;
    for (int kind = 0; kind < Polyra::LoadKinds; ++kind) {
        maxima[kind] = profile.loads[kind].maximum;
        peaksBefore[kind] = peaksAfter[kind] = 0;
        overloads[kind] = 0;
    }
    if (parameters.polyphonyLimit > 0 && parameters.polyphonyLimit < maxima[0])
        maxima[0] = parameters.polyphonyLimit;
    std::copy(std::begin(profile.release), std::end(profile.release), std::begin(releaseTicks));
    for (auto& entry : stats)
        entry = PolyraClassStats();
    std::fill(std::begin(classHasNotes), std::end(classHasNotes), false);
    sineMode = false;
    defaultVolume = 127;
    booster = parameters.booster;
    equalizer = parameters.equalizer;
    atb = 0;
    rtb = 1;
    tagCount = 0;
    error = ErrNone;
    writer.Reset();
    ResetChannels();
}

void PolyraWorkspace::Erase(int index)
{
    PolyraCommand& command = commands[size_t(index)];
    command.type = CmdErased;
    if (size_t(index) + 1 < commands.size()) {
        uint32_t& next = commands[size_t(index) + 1].delta;
        next = uint32_t(std::min<uint64_t>(uint64_t(next) + command.delta, 0xFFFFFFFFu));
    } else
        endDelta = uint32_t(std::min<uint64_t>(uint64_t(endDelta) + command.delta, 0xFFFFFFFFu));
    command.delta = 0;
}

bool PolyraWorkspace::Insert(int index, const PolyraCommand& command)
{
    if (commands.size() >= size_t(MaxCommands - 1))
        return false;
    commands.insert(commands.begin() + index, command);
    return true;
}

void PolyraChannels::Reset()
{
    std::fill(std::begin(classOf), std::end(classOf), 0);
    std::fill(std::begin(volume), std::end(volume), 127);
    classOf[9] = Polyra::DrumClass;
}

void PolyraChannels::Track(const PolyraCommand& command)
{
    // A program byte of a malformed file may have its top bit set.
    if (command.type == CmdProgram && command.channel != 9)
        classOf[command.channel & 0x0F] = (command.data[0] & 0x7F) / 8;
    else if (command.type == CmdControl && command.data[0] == 7)
        volume[command.channel & 0x0F] = command.data[1];
}

void PolyraWorkspace::ApplyTempo(uint32_t microseconds)
{
    tempo = microseconds;
    for (int i = 0; i < 3; ++i)
        header[HeaderTempoAt + i] = uint8_t(microseconds >> (16 - 8 * i));
    tickLength = double(tempo) / double(division);
    for (int c = 0; c < Polyra::ClassCount; ++c)
        releaseTicks[c] = float(double(profile.release[c]) * 1000.0 / tickLength);
}

void PolyraWorkspace::DivideTicks(uint32_t divisor)
{
    if (divisor <= 1)
        return;
    division /= divisor;
    tickLength *= divisor;
    for (PolyraCommand& command : commands)
        command.delta /= divisor;
    endDelta /= divisor;
    for (float& release : releaseTicks)
        release = float(double(release) / divisor);
}

bool PolyraWorkspace::Fail(int code)
{
    ReportError(code);
    return false;
}

void PolyraWorkspace::ReportError(int code)
{
    error = code;
    if (code <= 0 || code > 17 || !trace)
        return;
    QString text = QString::fromLatin1(kErrorTexts[code]);
    if (code < 17)
        text = text.leftJustified(kErrorTextWidth, QLatin1Char(' '));
    trace->Message(QStringLiteral("Conversion error : ") + text + QLatin1Char('\n'));
    trace->Line(PolyraTrace::StageLine, "\n\n** ERREUR : termine proprement le moteur DOS\n");
    for (auto& entry : stats)
        entry = PolyraClassStats();
}
