#include "CRinglet.h"

#include "RtttlMelody.h"
#include "RtttlReader.h"

#include "Melody/CDocumentMelody.h"

CDocument* CRinglet::Import(const QByteArray& rawData)
{
    CheckInput(rawData);
    const RtttlTune tune = CRtttlReader::Read(rawData);
    for (const QString& id : tune.messages)
        ReportMessage(id);
    CDocumentMelody* melody = BuildRtttlMelody(tune);
    if (!melody)
        ReportMessage(RtttlMessage::NoNotesFound);
    return melody;
}
