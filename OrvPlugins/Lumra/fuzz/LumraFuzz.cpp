// libFuzzer target: both GIF importers on the fuzzer's bytes.
#include "CLumraAnimated.h"
#include "CLumraStatic.h"

#include "Import/ImportFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return ImportFuzzTarget::Run<CLumraStatic, CLumraAnimated>(data, size);
}
