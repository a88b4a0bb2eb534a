#pragma once
// The parameter filters the buzzer melody exporters share ("Tempo" and
// "Style" against the profile's buzzer keys and the loaded melody).
class CDocument;
class CParameters;
class CProfile;

namespace BuzzerParameterFilter {
// apply 1 narrows "Tempo" to "MinBpmBuzzer".."MaxBpmBuzzer" and "Style" to the
// styles the phone plays; any other value restores the style list.
void FilterWithProfile(CParameters* parameters, CProfile* profile, int apply);
// Takes the tempo of a MIDI or melody document, and a melody's style; the
// debug note for a refused style names `className`.
void FilterWithDocument(CParameters* parameters, CDocument* document, const char* className);
} // namespace BuzzerParameterFilter
