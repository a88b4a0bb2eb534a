#pragma once
// Between 8000 Hz mono PCM and a VOX file, one 20 ms frame per message.
#include <QString>
#include <cstdint>

class CDocumentWave;
class CMemFile;
class CPlexa;
struct VoxFrame;

// Codes the samples (16-bit little-endian, described by the 44-byte RIFF
// header) with the named vocoder into output, reporting progress once per
// frame to converter (which may be null). A last group of fewer than 160
// samples is not coded. Failures are logged; output then keeps what was
// written. On success input and output are rewound.
bool EncodeVox(const unsigned char* header, CMemFile& input, CMemFile& output, const QString& vocoderName, bool noDtx,
               CPlexa* converter);
// The same over size bytes of samples read where they lie, so that a long sound
// is not copied to be coded.
bool EncodeVox(const unsigned char* header, const unsigned char* samples, uint32_t size, CMemFile& output,
               const QString& vocoderName, bool noDtx, CPlexa* converter);
// Decodes a VOX file (positioned at its start) into a 16-bit 8000 Hz mono
// WAV file; in trace mode writes a listing of the messages to the log instead.
bool DecodeVox(CMemFile& input, CMemFile& output, bool trace);
// The same decoding straight into an empty wave document: its header and input
// samples are those of the WAV file the other form writes, held once.
bool DecodeVox(CMemFile& input, CDocumentWave& wave);
// The trace mode's frame operation: one block of text per message.
int TraceVoxMessage(VoxFrame& frame);
// The 44-byte header of a 16-bit 8000 Hz mono WAV file of dataSize bytes.
void WriteWavHeader(uint32_t dataSize, CMemFile& file);
