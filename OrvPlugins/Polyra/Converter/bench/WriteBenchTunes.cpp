// Writes the benchmark tunes as MIDI files into a folder, one subfolder each
// (a conversion makes its "Debug" folder beside its source), for
// scripts/bench-mseq.sh:  PolyraBenchTunes <folder>
#include "PolyraBenchTunes.h"
#include "TestBytes.h"

#include <QDir>
#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const struct
    {
        const char* name;
        QByteArray midi;
    } tunes[] = {
        {"long", PolyraBenchTunes::LongTune()},
        {"dense", PolyraBenchTunes::DenseGameTune()},
        {"short-notes", PolyraBenchTunes::ShortNoteGameTune()},
    };
    for (const auto& tune : tunes) {
        const QString name = QString::fromLatin1(tune.name);
        const QString path = folder + QLatin1Char('/') + name + QLatin1Char('/') + name + QStringLiteral(".mid");
        if (!QDir().mkpath(folder + QLatin1Char('/') + name) || !WriteFileBytes(path, tune.midi)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
