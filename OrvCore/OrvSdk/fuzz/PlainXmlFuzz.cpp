// Any bytes: the plain XML reader either declines them or builds exactly the
// document the toolkit's reader builds.
#include "PlainXmlComparison.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    if (PlainXmlComparison::Compare(bytes) == PlainXmlComparison::Outcome::Differs)
        std::abort();
    return 0;
}
