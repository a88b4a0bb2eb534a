// libFuzzer target: the synthesiser renders the fuzzer's bytes as a sequence.
// The render limit is lowered so that a long delay costs a run no more than
// two seconds of sound.
#include "MseqRender.h"
#include "MseqRenderLimit.h"

#include "Plugin/CConversionLog.h"
#include "Util/CMemFile.h"

#include <QtGlobal>

#include <cstddef>
#include <cstdint>

namespace {
void Discard(QtMsgType, const QMessageLogContext&, const QString&) {}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = (qInstallMessageHandler(Discard), MseqSetRenderLimit(16000), true);
    (void)ready;
    CMemFile sequence;
    if (size > 0)
        sequence.SetData(data, uint(size));
    CMemFile wave;
    CConversionLog log;
    MseqRender(sequence, wave, &log, nullptr);
    return 0;
}
