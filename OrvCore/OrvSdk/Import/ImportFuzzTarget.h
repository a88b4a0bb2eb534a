#pragma once
// The body of every importer's libFuzzer target: each importer class named
// imports the fuzzer's bytes, handed over without a terminator as the host
// does. A target is one line:
//
//     extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
//     {
//         return ImportFuzzTarget::Run<CDotra>(data, size);
//     }
#include "Documents/CDocument.h"

#include <QByteArray>
#include <QtGlobal>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace ImportFuzzTarget {
inline void Discard(QtMsgType, const QMessageLogContext&, const QString&) {}

template <class Importer>
void ImportOnce(const QByteArray& bytes)
{
    Importer importer;
    std::unique_ptr<CDocument> document(importer.Import(bytes));
}

template <class... Importers>
int Run(const uint8_t* data, size_t size)
{
    // The importers' debug lines would drown the fuzzer's own output.
    static const bool quiet = (qInstallMessageHandler(Discard), true);
    (void)quiet;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    (ImportOnce<Importers>(bytes), ...);
    return 0;
}
} // namespace ImportFuzzTarget
