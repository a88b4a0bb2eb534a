// libFuzzer target: both GIF importers on the fuzzer's bytes, handed over without
// a terminator as the host does.
#include "CLumraAnimated.h"
#include "CLumraStatic.h"

#include <QByteArray>
#include <QtGlobal>
#include <cstdint>
#include <memory>

namespace
{
void Discard(QtMsgType, const QMessageLogContext&, const QString&) {}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool quiet = (qInstallMessageHandler(Discard), true);
    (void)quiet;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    CLumraStatic still;
    std::unique_ptr<CDocument> picture(still.Import(bytes));
    CLumraAnimated animated;
    std::unique_ptr<CDocument> animation(animated.Import(bytes));
    return 0;
}
