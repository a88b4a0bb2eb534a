// libFuzzer target: e-cards and media files through both SMS translators, and
// the media checks on their own (see MessraFuzzInput.h).
#include "MessraFuzzInput.h"

#include <QTemporaryDir>
#include <QtGlobal>
#include <cstddef>
#include <cstdint>

namespace {
void Discard(QtMsgType, const QMessageLogContext&, const QString&) {}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The translators' debug lines would drown the fuzzer's own output.
    static const bool quiet = (qInstallMessageHandler(Discard), true);
    (void)quiet;
    static QTemporaryDir folder;
    if (!folder.isValid())
        return 0;
    MessraFuzzInput::Run(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), folder.path());
    return 0;
}
