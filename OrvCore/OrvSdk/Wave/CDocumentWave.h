#pragma once
#include "Documents/CDocument.h"
#include "Wave/WaveHeader.h"
#include "Wave/WaveSampleFormat.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class ToneSamples;

// A PCM sound: the input header and samples as read or built, and an output
// header and samples made from them in another channel count, sample size and
// sampling rate. The document owns every buffer it points to.
class CDocumentWave : public CDocument
{
public:
    CDocumentWave();
    explicit CDocumentWave(const QString& name);
    ~CDocumentWave() override;

    CDocumentWave(const CDocumentWave&) = delete;
    CDocumentWave& operator=(const CDocumentWave&) = delete;

    int GetDocType() override;

    // Header parsing and checks.
    // ReadHeader errors: 0 ok, 1 unsupported rate, 2 not PCM, 3 channel count,
    // 4 sample size, 5 no RIFF WAVE structure. The extensible format with the PCM
    // sub-format reads as PCM (format tag 1); `sampleFormat`, when given, gets what
    // the format chunk states.
    static bool ReadHeader(const QByteArray& RawData, int& error, WAVEHEADER& header, unsigned int& dataOffset,
                           WaveSampleFormat* sampleFormat = nullptr);
    // 0 valid; 1 no "RIFF", 2 no "WAVE", 3 no "fmt ", 4 no "data".
    static int CheckHeader(const WAVEHEADER& header);
    // 1 supported; else a mask: 2 rate, 4 channels, 8 sample size, 16 not PCM.
    static int CheckFormat(const WAVEHEADER& header);
    // The ReadHeader error of a failed CheckFormat mask (0 for 1). A sound in another format than PCM is
    // refused for its format first, since its other fields mean something else there (a float sound's 32 bits);
    // then the sample size, the channels, the rate.
    static int FormatError(int check);

    bool CreateHeader(unsigned int nSamplingRate, int nBitsPerSample, int nChannels);
    void SetHeader(const void* header);

    // Input samples.
    unsigned int SetInputData(const void* datas, unsigned int size);
    // As SetInputData without a copy: the samples are size bytes of bytes from
    // offset on, whose array the document then shares (the caller may drop its
    // own). Bytes the array does not own are copied as SetInputData does.
    unsigned int ShareInputData(const QByteArray& bytes, qsizetype offset, unsigned int size);
    // As SetInputData without a copy: the document takes over buffer (from
    // std::malloc), whose size bytes of samples start offset bytes in; they
    // are moved to its start and the buffer is cut to them.
    unsigned int AdoptInputData(unsigned char* buffer, unsigned int offset, unsigned int size);
    // As SetInputData, for samples made in place: a zeroed input buffer of
    // exactly size bytes for the caller to fill. Memory that cannot be had
    // throws std::bad_alloc here, in SetInputData and in ReserveInputData.
    unsigned char* AllocateInputData(unsigned int size);
    bool ReserveInputData(unsigned int size);
    unsigned int AppendTone(double frequency, double amplitude, unsigned int ms);
    unsigned int AppendSilence(unsigned int ms);
    bool SaveInputWave(const QString& path);

    // Output samples.
    void ConvertFormat(int nChannels, int nBitsPerSample, unsigned int nSamplingRate);
    float GenerateTestSignal(float frequency, float sourceRate, float destinationRate, int bitsPerSample, bool tone);
    bool SaveOutputWave(const QString& path);
    void FreeOutputData();
    bool HasOutputData() const;
    unsigned char* GetOutputData();

    WAVEHEADER m_WAVEheader;       // input header
    WAVEHEADER m_OutputWAVEheader; // output header; its data_ckSize is the output byte count
    unsigned char* m_pInputData;
    unsigned char* m_pOutputData;

    // State of a conversion in progress.
    int m_nTmpChannels;
    unsigned int m_nTmpSamplingRate;
    uint32_t m_ulTmpFrameCount;
    int m_nTmpBitsPerSampleOut; // 32 while the work buffers hold floats
    float* m_pLeftBuffer;
    float* m_pRightBuffer;

    uint32_t m_ulRealAllocatedSize; // capacity of the input buffer in bytes

private:
    uint32_t InputBytesHeld() const;
    void FreeInputData();
    unsigned int AppendSamples(unsigned int ms, double frequency, double amplitude);
    // Fills `count` floats of each wanted channel (right: null for one) with the
    // frames from `first` on.
    using WaveBlockSource = std::function<void(uint32_t first, uint32_t count, float* left, float* right)>;
    static bool PrepareResampling(unsigned int nSrcRate, unsigned int nDstRate, int& nInterpFactor, int& nDecimFactor,
                                  float& gain);
    // Builds the output from nFrames frames of the source at nSrcRate; the
    // largest value written, or -1 when there is no output.
    float ConvertBlocks(const WaveBlockSource& source, uint32_t nFrames, unsigned int nSrcRate, int nChannels,
                        int nBitsPerSample, unsigned int nSamplingRate);
    void RefreshOutputHeader();
    void FreeWorkBuffers();
    static bool WriteWaveFile(const QString& path, const WAVEHEADER& header, const unsigned char* data);

    std::unique_ptr<ToneSamples> m_pTones; // the tones appended so far, for the next note of one
    QByteArray m_SharedInput;              // the array m_pInputData lies in when the samples are shared
};
