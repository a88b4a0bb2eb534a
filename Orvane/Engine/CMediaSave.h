#pragma once
#include "Util/Types.h"
#include <QString>

class CEngineHost;
class CEngineState;

// Saves the media tab's current result: one file per output chunk of the converter that made it, then, on
// request, its preview files.
class CMediaSave
{
public:
    CMediaSave(CEngineHost& host, CEngineState& state);

    // Files go to folder, named from sourceName (the loaded document's path when empty) and the converter's
    // export extension. Nothing happens without a loaded document and a result. True when every file was
    // written; false when there was nothing to save, the user refused, or a write failed.
    bool Save(B32 savePreview, const QString& folder, const QString& sourceName);

private:
    CEngineHost& m_Host;
    CEngineState& m_State;
};
