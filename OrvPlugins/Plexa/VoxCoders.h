#pragma once
// The one place that says which code runs a vocoder. A coding run picks its
// three operations here from the vocoder id; each takes the run's frame
// record and returns 0 for success.
#include "VoxFrame.h"

struct VoxCoderOps
{
    int (*Init)(VoxFrame& frame);
    int (*Process)(VoxFrame& frame);
    int (*Release)(VoxFrame& frame);
};

// False when no coder of that id is built in ("id_vocoder_not_implemented").
bool SelectVoxEncoder(int vocoderId, VoxCoderOps& ops);
bool SelectVoxDecoder(int vocoderId, VoxCoderOps& ops);

// The operation of a coder with nothing to do at that step: returns 0.
int VoxCoderNothing(VoxFrame& frame);
