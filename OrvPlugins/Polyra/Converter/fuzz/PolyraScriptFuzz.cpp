// libFuzzer target: the fuzzer's bytes as a media script, read and inserted
// into a small fixed command table.
#include "MseqRender.h"
#include "PolyraStages.h"
#include "PolyraWorkspace.h"

#include "Plugin/CConversionLog.h"
#include "Util/CMemFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>

namespace {
void Discard(QtMsgType, const QMessageLogContext&, const QString&) {}

// Two notes on channel 1 at 96 ticks a quarter, 500000 us a quarter.
const uint8_t kTune[] = {'M',  'T',  'h', 'd', 0,    0,    0,    6,    0,    0,    0,    1,    0,    96, 'M',
                         'T',  'r',  'k', 0,   0,    0,    21,   0x00, 0x90, 60,   100,  0x60, 0x80, 60, 0,
                         0x30, 0x90, 64,  100, 0x81, 0x00, 0x80, 64,   0,    0x00, 0xFF, 0x2F, 0x00};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool quiet = (qInstallMessageHandler(Discard), true);
    (void)quiet;
    CConversionLog log;
    PolyraTrace trace(&log, false);
    PolyraProfile profile;
    PolyraParameters parameters;
    PolyraWorkspace workspace;
    workspace.Init(profile, parameters, &trace, nullptr);
    MseqSetStop(false);
    CMemFile format0;
    bool cancelled = false;
    if (!PolyraStages::MergeToFormat0(workspace, kTune, sizeof kTune, format0, &cancelled)
        || !PolyraStages::ReadCommandTable(workspace, format0) || !PolyraStages::ComputeTimeBase(workspace))
        __builtin_trap();
    QByteArray script(reinterpret_cast<const char*>(data), int(size));
    QBuffer device(&script);
    device.open(QIODevice::ReadOnly);
    PolyraStages::InsertMedia(workspace, &device);
    return 0;
}
