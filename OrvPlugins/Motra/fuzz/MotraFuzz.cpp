// libFuzzer target: CMotra::Import on the fuzzer's bytes.
#include "CMotra.h"

#include "Import/ImportFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return ImportFuzzTarget::Run<CMotra>(data, size);
}
