#include "CScorin.h"

#include "Melody/CDocumentMidi.h"

CDocument* CScorin::Import(const QByteArray& rawData)
{
    CheckInput(rawData);
    // Only the header tag decides. It is checked before the reader sees the bytes,
    // so empty input and other files never reach it.
    if (rawData.size() > 3 && rawData.startsWith("MThd")) {
        CDocumentMidi* midi = new CDocumentMidi();
        midi->SetRawData(reinterpret_cast<const unsigned char*>(rawData.constData()), unsigned(rawData.size()));
        // Every converter takes the first of independent sequences; the log says so once, here.
        if (midi->GetSequenceCount() > 1)
            ReportMessage(FirstSequenceId, QString::number(midi->GetSequenceCount()));
        return midi;
    }
    ReportImportFailure();
    return nullptr;
}
