#pragma once
// The beat a MIDI file's tune plays at, in beats per minute, for the melody
// converters: the file's one tempo where it keeps one while its notes play,
// else the average pace of those notes under its tempo changes, so that a
// final ritardando does not set the pace of the whole tune. A file without a
// tempo plays at the MIDI default of 120.
class MidiStream;

int MidiTuneTempo(const MidiStream& stream);
