// libFuzzer target: CScorin::Import on the fuzzer's bytes.
#include "CScorin.h"

#include "Import/ImportFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return ImportFuzzTarget::Run<CScorin>(data, size);
}
