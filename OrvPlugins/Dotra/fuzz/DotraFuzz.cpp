// libFuzzer target: CDotra::Import on the fuzzer's bytes.
#include "CDotra.h"

#include "Import/ImportFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return ImportFuzzTarget::Run<CDotra>(data, size);
}
