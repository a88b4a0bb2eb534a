#pragma once

class CMemFile;
class CConversionLog;

// Where the synthesiser reports its progress: "Processing" with the percent of
// the sequence read, mode 3 (the converter maps it onto its two phases).
class IMseqProgressSink
{
public:
    virtual ~IMseqProgressSink() = default;
    virtual void ReportProgress(const char* text, int value, int mode) = 0;
};

// The process-wide stop flag: set by the converter's Cancel, cleared at the
// start of every pipeline run, polled by the merge and the render loop.
bool MseqStopRequested();
void MseqSetStop(bool stop);

// Renders the MISC track of the sequence into a mono 16-bit 8000 Hz wave at
// the wave file's position (a 44-byte header, then the samples). Returns the
// scale factor (32767 / peak, 1 at full scale or for silence), or -1 when the
// sequence is not an MSEQ file or the stop flag ended the render (the wave
// file is then rewound). log may be null (bass-mute mode): no lines then.
float MseqRender(CMemFile& sequence, CMemFile& wave, CConversionLog* log, IMseqProgressSink* progress);
