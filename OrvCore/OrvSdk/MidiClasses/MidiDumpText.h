#pragma once
#include <QString>
#include <cstdint>

// Formatting pieces shared by the debug dumps of the MIDI classes.
namespace MidiDumpText {

// Two upper-case hexadecimal digits, as "%02X".
inline QString Hex2(uint32_t value)
{
    return QString::number(value, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

} // namespace MidiDumpText
