#pragma once
// Hand-made MSEQ sequences and renders of them for the synthesiser's tests
// and benchmark. The words are put together here from the file layout, not
// by the converter's writer, so that the two are checked against each other
// only through the layout.
#include "MseqFormat.h"
#include "MseqRender.h"

#include "Plugin/CConversionLog.h"
#include "Util/CMemFile.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstring>
#include <vector>

class MseqTestFile
{
public:
    explicit MseqTestFile(uint32_t atb = 1000, int rtb = 1) : m_Atb(atb) { Word(uint16_t((rtb << 5) | Mseq::CmdRtb)); }

    MseqTestFile& Word(uint16_t word)
    {
        m_Words.push_back(word);
        return *this;
    }
    MseqTestFile& Note(int channel, int pitch, int velocity, int duration)
    {
        Word(uint16_t((pitch << 9) | (channel << 5) | Mseq::CmdNote));
        return Word(uint16_t((duration << 6) | velocity));
    }
    MseqTestFile& Instrument(int channel, int instrumentClass, int ambiance = 0)
    {
        return Word(uint16_t((instrumentClass << 12) | (ambiance << 9) | (channel << 5) | Mseq::CmdInstrument));
    }
    MseqTestFile& Volume(int channel, int volume)
    {
        return Word(uint16_t((volume << 9) | (channel << 5) | Mseq::CmdVolume));
    }
    // One DELAY up to 2047 ticks, EXT_DELAY pairs above.
    MseqTestFile& Delay(int64_t ticks)
    {
        while (ticks > 0) {
            const int64_t part = ticks < (int64_t(1) << 27) ? ticks : (int64_t(1) << 27) - 1;
            if (part <= 2047)
                Word(uint16_t((part << 5) | Mseq::CmdDelay));
            else {
                Word(uint16_t(((part & 0x7FF) << 5) | Mseq::CmdExtDelay));
                Word(uint16_t(part >> 11));
            }
            ticks -= part;
        }
        return *this;
    }
    // A text track and a picture track behind the note track.
    MseqTestFile& WithMediaTracks()
    {
        m_Media = true;
        return *this;
    }

    QByteArray Bytes() const
    {
        std::vector<uint16_t> tracks;
        AppendTrack(tracks, Mseq::TrackNote, m_Words);
        if (m_Media) {
            const uint16_t text[] = {uint16_t((1 << 5) | Mseq::CmdSynchro), uint16_t((3 << 9) | Mseq::CmdLongText),
                                     uint16_t('H' | ('i' << 8)), uint16_t('!' | 0xFF00)};
            const uint16_t picture[] = {uint16_t((1 << 5) | Mseq::CmdSynchro), Mseq::CmdUseObject, 7, 0};
            AppendTrack(tracks, Mseq::TrackText, std::vector<uint16_t>(std::begin(text), std::end(text)));
            AppendTrack(tracks, Mseq::TrackPicture, std::vector<uint16_t>(std::begin(picture), std::end(picture)));
        }
        tracks.push_back(Mseq::EndWord);
        const uint32_t wordCount = uint32_t(tracks.size()) - 1 + Mseq::FixedWordCount;
        QByteArray bytes = QByteArray::fromRawData(".SEQ", 4);
        bytes.detach();
        bytes.append(char(Mseq::HeaderVersionByte));
        Append24(bytes, wordCount);
        bytes.append(QByteArray::fromRawData("\x00\x00\x1C\x00\x00\x00\x1C\x00\x00\x00", 10));
        Append24(bytes, m_Atb);
        bytes.append(char(Mseq::SoundFlagsBase));
        bytes.append(char(m_Media ? 3 : 1));
        bytes.append(char(0xFF));
        for (uint16_t word : tracks) {
            bytes.append(char(word & 0xFF));
            bytes.append(char(word >> 8));
        }
        return bytes;
    }

private:
    static void Append24(QByteArray& bytes, uint32_t value)
    {
        for (int i = 0; i < 3; ++i)
            bytes.append(char((value >> (8 * i)) & 0xFF));
    }
    static void AppendTrack(std::vector<uint16_t>& out, int index, const std::vector<uint16_t>& body)
    {
        const uint32_t length = uint32_t(body.size()) + 5;
        const uint32_t size = (length << 8) | Mseq::Tracks[index].kind;
        out.push_back(Mseq::Tracks[index].openWord);
        out.push_back(uint16_t(size & 0xFFFF));
        out.push_back(uint16_t(size >> 16));
        out.push_back(Mseq::TrackFillWord);
        out.insert(out.end(), body.begin(), body.end());
        out.push_back(Mseq::Tracks[index].closeWord);
    }

    uint32_t m_Atb;
    std::vector<uint16_t> m_Words;
    bool m_Media = false;
};

// One render's results: the scale factor, the wave file's bytes, the log and
// the samples behind the 44-byte header.
struct MseqRenderResult
{
    float scale = 0;
    QByteArray wave;
    QString log;
    std::vector<int16_t> samples;
};

inline MseqRenderResult RenderMseq(const QByteArray& sequenceBytes, bool withLog = true,
                                   IMseqProgressSink* progress = nullptr)
{
    CMemFile sequence;
    sequence.SetData(reinterpret_cast<const uchar*>(sequenceBytes.constData()), uint(sequenceBytes.size()));
    CMemFile wave;
    CConversionLog log;
    MseqRenderResult result;
    result.scale = MseqRender(sequence, wave, withLog ? &log : nullptr, progress);
    wave.CopyToArray(&result.wave);
    result.log = log.GetSummaryText();
    if (result.wave.size() > 44) {
        result.samples.resize(size_t(result.wave.size() - 44) / 2);
        std::memcpy(result.samples.data(), result.wave.constData() + 44, result.samples.size() * 2);
    }
    return result;
}
