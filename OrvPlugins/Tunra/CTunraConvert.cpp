// The conversion: melody, parameters and phone limits in, one iMelody chunk
// and a wave preview out.
#include "CTunra.h"
#include "TunraEncoding.h"
#include "TunraSettings.h"

#include "Melody/CDocumentMelody.h"
#include "Melody/CMelodyTruncate.h"
#include "Melody/MelodyOfDocument.h"
#include "Melody/SoundingNote.h"
#include "Util/Assert.h"
#include "Wave/CDocumentWave.h"

bool CTunra::Convert(CDocument* document)
{
    if (!document)
        return false;
    const int type = document->GetDocType();
    if (type != CDocument::MIDI && type != CDocument::MELODY) {
        LogMessage("id_document_not_compatible");
        return false;
    }
    ASSERT(GetParameters());
    ASSERT(GetProfile());
    if (!GetParameters() || !GetProfile())
        return false;

    ReportProgress(0, PhaseMelody);
    CDocumentMelody* melody = MelodyOfDocument(document, ForwardMelodyProgress<CTunra, CTunra::PhaseMelody>);
    ASSERT_TEXT(melody, "MelodyNoteList");
    if (!melody || !melody->HasNotes()) {
        LogMessage("id_midi_file_empty");
        return false;
    }

    ReportProgress(0, PhaseNotes);
    const TunraSettings settings = TunraSettings::Read(GetParameters(), GetProfile());
    melody->SetBeat(settings.nBeat);
    if (!settings.Style.isNull()) {
        const bool bRecognizedStyle = melody->SetStyle(settings.Style);
        ASSERT(bRecognizedStyle);
    }
    melody->SetVolume(settings.nVolume);

    if (!settings.IsBandWideEnough()) {
        LogMessage("id_bandwith_too_small");
        return false;
    }

    CMelodyTruncate writer;
    QByteArray text;
    IMYNotes events;
    if (!writer.WriteIMelody(melody, settings.bHeader, settings.bVersion, settings.bFormat, settings.bName,
                             settings.bBeat, settings.bStyle, settings.bVolume, GetProfile(), text, settings.uSizeLimit,
                             events, ForwardMelodyProgress<CTunra, CTunra::PhaseNotes>)) {
        LogMessage("id_header_exceeds_size_limit");
        return false;
    }
    // A ring tone without a single note would be accepted by the phone and
    // play nothing: the limit is too small for this melody.
    if (!HasSoundingNote<IMYNote>(events)) {
        LogMessage("id_no_room_for_notes");
        return false;
    }

    PrepareDebugFolder(document);
    const QByteArray chunk = settings.bAscii ? text : TunraEncodeGsm7(text);
    // A debug file that cannot be written fails the conversion; the log says which and why.
    if (!WriteDebugFile(settings.bAscii ? QStringLiteral("outASCII.imy") : QStringLiteral("outGSM7.imy"), chunk))
        return false;
    mRawDataList.append(chunk);

    ReportProgress(0, PhasePreview);
    // A preview the host did not take over is the converter's to free.
    delete mpPreviewDocument;
    CDocumentWave* wave = new CDocumentWave;
    mpPreviewDocument = wave;
    wave->CreateHeader(kMelodyPreviewRate, kMelodyPreviewBits, kMelodyPreviewChannels);
    GeneratePreview(events, settings.nBeat, 0, events.count() - 1);
    return true;
}
