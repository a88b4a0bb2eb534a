#pragma once
#include "Import/CImporterBase.h"

#include <QPair>

// The picture and animation importers answer a few operations more than other
// importers, in this order after those of CPluginBase. The host never calls
// them: they stay part of the importers' interface so that every importer of
// pictures and animations has the same layout.
class CPictureImporterBase : public CImporterBase
{
public:
    // The size pictures are imported at: (0, 0), each keeps its own.
    virtual QPair<int, int> GetImportSize() { return qMakePair(0, 0); }
    // Accepts any import option (1) and keeps none.
    virtual int SetImportOption(int) { return 1; }

protected:
    using CImporterBase::CImporterBase;
};

// The animation importers' one more: the option set, which is none (0).
class CAnimationImporterBase : public CPictureImporterBase
{
public:
    virtual int GetImportOption(int) { return 0; }

protected:
    using CPictureImporterBase::CPictureImporterBase;
};
