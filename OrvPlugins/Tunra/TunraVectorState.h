#pragma once
// Returns the processor's vector registers to the state plain SSE code runs
// at full speed in. Toolkit routines that use 256-bit AVX can leave the upper
// register halves dirty; every SSE instruction then waits on them, and the
// preview's sine loop (SSE code calling the AVX sine of the C library) runs
// ten times slower. One instruction where AVX exists; nothing elsewhere.
void TunraClearUpperVectorState();
