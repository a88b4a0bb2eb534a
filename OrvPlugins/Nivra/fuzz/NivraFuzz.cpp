// libFuzzer target: CNivra::Import on the fuzzer's bytes.
#include "CNivra.h"

#include "Import/ImportFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return ImportFuzzTarget::Run<CNivra>(data, size);
}
