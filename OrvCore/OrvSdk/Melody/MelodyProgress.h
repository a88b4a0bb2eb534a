#pragma once
// Progress of a long melody operation: called with a percentage, 0 first.
// Converters pass a free function that forwards to their progress signal.
typedef void (*MelodyProgressCallback)(int percent);

// A progress callback for a converter class with one live converter at a
// time: forwards to its ReportProgress with the given stage.
template <class Converter, int Stage>
void ForwardMelodyProgress(int percent)
{
    if (Converter* converter = Converter::GetLiveConverter())
        converter->ReportProgress(percent, Stage);
}
