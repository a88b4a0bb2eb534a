#pragma once
// Returns the processor's vector registers to the state in which plain SSE
// code runs at full speed. Toolkit routines built for AVX (the XML reader
// among them) can return with the upper halves of the vector registers
// dirty; until they are cleared, every SSE instruction waits on them and the
// tone synthesis, SSE code around the C library's sine, runs about ten times
// slower. One instruction on an x86-64 processor with AVX; nothing elsewhere.
void ClearUpperVectorState();
