// libFuzzer target: CMotra::Import on the fuzzer's bytes, handed over without a
// terminator as the host does.
#include "CMotra.h"

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
    CMotra importer;
    std::unique_ptr<CDocument> document(importer.Import(bytes));
    return 0;
}
