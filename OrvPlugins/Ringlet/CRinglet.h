#pragma once
#include "Import/CImporterBase.h"

// Imports an RTTTL/RTX ring-tone text as a melody. Unsupported parts are skipped
// with a warning; only a text without any note is refused.
class CRinglet : public CImporterBase
{
public:
    CRinglet() : CImporterBase("CRinglet", "RTX", CDocument::MELODY, CDocument::WAVE) {}

    CDocument* Import(const QByteArray& rawData) override;
};
