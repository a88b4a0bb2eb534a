// The conversion: melody, parameters and phone limits in, one QBR chunk and a
// wave preview out.
#include "CChimo.h"
#include "ChimoSettings.h"

#include "Melody/CDocumentMelody.h"
#include "Melody/CMelodyTruncate.h"
#include "Melody/MelodyOfDocument.h"
#include "Melody/SoundingNote.h"
#include "Util/Assert.h"
#include "Util/CMemFile.h"
#include "Wave/CDocumentWave.h"

bool CChimo::Convert(CDocument* document)
{
    // A preview the host did not take over is the converter's to free; a
    // failed conversion leaves none.
    delete mpPreviewDocument;
    mpPreviewDocument = nullptr;
    if (!document)
        return false;
    const int type = document->GetDocType();
    if (type != CDocument::MIDI && type != CDocument::MELODY) {
        LogMessage("id_document_not_compatible");
        return false;
    }
    ASSERT_TEXT(GetParameters(), "GetParameters()");
    ASSERT_TEXT(GetProfile(), "GetProfile()");
    if (!GetParameters() || !GetProfile())
        return false;

    ReportProgress(0, StageMelody);
    CDocumentMelody* melody = MelodyOfDocument(document, ForwardMelodyProgress<CChimo, CChimo::StageMelody>);
    if (!melody || !melody->HasNotes()) {
        LogMessage("id_midi_file_empty");
        return false;
    }

    ReportProgress(0, StageNotes);
    const ChimoSettings settings = ChimoSettings::Read(GetParameters(), GetProfile());
    // The header keeps ten bits of tempo: anything else would play at another speed.
    if (!settings.IsTempoWritable()) {
        LogMessage("id_tempo_out_of_range");
        return false;
    }
    melody->SetBeat(settings.nTempo);
    const bool bRecognizedStyle = melody->SetStyle(settings.Style);
    ASSERT(bRecognizedStyle);
    melody->SetVolume(settings.nVolume);

    if (!settings.IsBandWideEnough()) {
        LogMessage("id_bandwith_too_small");
        return false;
    }

    CMelodyTruncate writer;
    QByteArray bytes;
    CMemFile file;
    IBrimselNotes events;
    if (!writer.WriteOneLineMelody(melody, bytes, GetProfile(), settings.nSizeLimit, &file, &events,
                                   ForwardMelodyProgress<CChimo, CChimo::StageNotes>)) {
        mConversionLog.AddText(CConversionLog::SUMMARY | CConversionLog::DETAILED,
                               writer.GetErrorText() + QLatin1Char('\n'));
        return false;
    }
    // A melody without a single note would play nothing: the limit is too
    // small for this melody.
    if (!HasSoundingNote<IBrimselNote>(events)) {
        LogMessage("id_no_room_for_notes");
        return false;
    }
    mRawDataList.append(bytes);

    PrepareDebugFolder(document);
    // A debug file that cannot be written fails the conversion; the log says which and why.
    if (!m_DebugFolder.Write(QStringLiteral("out.QBR"), bytes))
        return false;

    ReportProgress(0, StagePreview);
    CDocumentWave* wave = new CDocumentWave;
    mpPreviewDocument = wave;
    wave->CreateHeader(kMelodyPreviewRate, kMelodyPreviewBits, kMelodyPreviewChannels);
    GeneratePreview(events, melody->GetBeat(), 0, events.count() - 1);

    if (!m_DebugFolder.WriteWith(QStringLiteral("preview.wav"),
                                 [wave](const QString& file) { return wave->SaveInputWave(file); }))
        return false;

    ReportProgress(100, StagePreview);
    return true;
}
