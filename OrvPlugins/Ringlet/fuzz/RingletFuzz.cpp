// libFuzzer target: CRinglet::Import on the fuzzer's bytes.
#include "CRinglet.h"

#include "Import/ImportFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return ImportFuzzTarget::Run<CRinglet>(data, size);
}
