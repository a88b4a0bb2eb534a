// libFuzzer target: CSonra::Import on the fuzzer's bytes.
#include "CSonra.h"

#include "Import/ImportFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return ImportFuzzTarget::Run<CSonra>(data, size);
}
