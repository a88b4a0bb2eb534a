#pragma once
// What the SDK's test rooms share: catching the toolkit's messages (the
// library's failed checks are warnings) and writing bytes by hand, both from
// the test-support library every test target links.
#include "MessageCapture.h"
#include "TestBytes.h"
