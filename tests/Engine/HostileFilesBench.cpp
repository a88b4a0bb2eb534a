// The real program on hostile files of the full 16 MB an XML source may take, from process start to exit, with
// the peak of its resident memory as the kernel counted it ("peak_MB", which must stay under 500): an animation
// description that names one 16 x 16 picture half a million times, one that names a 255 x 255 colour picture in
// each of its thousand frames, one whose thousand frames each name a translucent picture of their own, and an e-card
// of four million empty entries; a description and an e-card of 200 MB, which the run log's check and the run
// refuse for their size (XML takes several times its size to read: 1.45 GB for such a file, before it was refused).
// Then sources whose document type declares a hundred thousand default attributes (1.7 MB; each took the readers
// 34 s to 219 s), and an e-card whose document type adds 256 defaults to each of its four million entries: each is
// refused unread, in well under a second.
// ORV_BENCH_PROGRAM and ORV_BENCH_APP name another build to compare with, as for the command-line benchmark.
#include "BlackPng.h"
#include "PeakMemoryRun.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const int kXmlSourceBytes = 16 * 1024 * 1024;

QByteArray Setting(const char* name, const char* fallback)
{
    const QByteArray value = qgetenv(name);
    return value.isEmpty() ? QByteArray(fallback) : value;
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Runs the program on the source; the peak of the last run is the counter. A run that crashes is an error.
void RunOn(benchmark::State& state, const QTemporaryDir& work, const QList<QByteArray>& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ORVANEDIR"), QString::fromLocal8Bit(Setting("ORV_BENCH_APP", ORV_APP_DIR)));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    CMeasuredRun run;
    for (auto _ : state) {
        run = RunMeasured(Setting("ORV_BENCH_PROGRAM", ORV_PROGRAM_FILE), arguments, QFile::encodeName(work.path()),
                          environment);
        if (!WIFEXITED(run.status)) {
            state.SkipWithError("the run did not end by itself");
            return;
        }
    }
    state.counters["peak_MB"] = double(run.peakKb) / 1024.0;
}

void DescriptionNamingOnePictureHalfAMillionTimes(benchmark::State& state)
{
    QTemporaryDir work;
    const QByteArray frame = "<FRAME REF=\"f.png\" DELAY=\"100\"/>";
    if (!WriteFile(work.filePath(QStringLiteral("f.png")), BlackPng::Grey(16, 16))
        || !WriteFile(work.filePath(QStringLiteral("hostile.anim")),
                      "<A>" + frame.repeated((kXmlSourceBytes - 16) / int(frame.size())) + "</A>")) {
        state.SkipWithError("cannot write the sources");
        return;
    }
    RunOn(state, work, {"/profile=Model B", "/converter=ani", "/logfile=run.log", "hostile.anim"});
}

// A black colour PNG (RGB, or RGBA and wholly transparent), as BlackPng makes grey ones: each row its filter byte
// and a zero byte a channel of each pixel.
QByteArray BlackColourPng(int width, int height, bool alpha = false)
{
    const int channels = alpha ? 4 : 3;
    QByteArray png("\x89PNG\r\n\x1A\n", 8);
    QByteArray header;
    BlackPng::Detail::AppendBigEndian(header, quint32(width));
    BlackPng::Detail::AppendBigEndian(header, quint32(height));
    // 8 bits, RGB or RGBA, deflate, filter 0, not interlaced
    header.append(alpha ? QByteArray("\x08\x06\x00\x00\x00", 5) : QByteArray("\x08\x02\x00\x00\x00", 5));
    BlackPng::Detail::AppendChunk(png, "IHDR", header);
    BlackPng::Detail::AppendChunk(png, "IDAT",
                                  BlackPng::Detail::DeflatedZeros(qint64(height) * (width * channels + 1)));
    BlackPng::Detail::AppendChunk(png, "IEND", QByteArray());
    return png;
}

// As many frames as an animation may have, each naming one 255 x 255 colour picture, for a phone that shows
// fewer: the converter refuses them, and the frames must never have taken more memory than the bound.
void ThousandFramesOfOneColourPicture(benchmark::State& state)
{
    QTemporaryDir work;
    const QByteArray frame = "<FRAME REF=\"c.png\" DELAY=\"100\"/>";
    if (!WriteFile(work.filePath(QStringLiteral("c.png")), BlackColourPng(255, 255))
        || !WriteFile(work.filePath(QStringLiteral("large.anim")), "<A>" + frame.repeated(1000) + "</A>")) {
        state.SkipWithError("cannot write the sources");
        return;
    }
    RunOn(state, work, {"/profile=Model B", "/converter=ani", "/logfile=run.log", "large.anim"});
}

// The same with a picture of its own for each frame, with an alpha channel, so that no frame shares another's
// pixels and preparing a frame for the phone would copy it.
void ThousandFramesOfTheirOwnTranslucentPictures(benchmark::State& state)
{
    QTemporaryDir work;
    QByteArray frames;
    const QByteArray picture = BlackColourPng(255, 255, true);
    for (int i = 0; i < 1000; ++i) {
        const QByteArray name = "c" + QByteArray::number(i) + ".png";
        if (!WriteFile(work.filePath(QString::fromLatin1(name)), picture)) {
            state.SkipWithError("cannot write the sources");
            return;
        }
        frames += "<FRAME REF=\"" + name + "\" DELAY=\"100\"/>";
    }
    if (!WriteFile(work.filePath(QStringLiteral("large.anim")), "<A>" + frames + "</A>")) {
        state.SkipWithError("cannot write the sources");
        return;
    }
    RunOn(state, work, {"/profile=Model B", "/converter=ani", "/logfile=run.log", "large.anim"});
}

void ECardOfFourMillionEmptyEntries(benchmark::State& state)
{
    QTemporaryDir work;
    const QByteArray head = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><ECARD>Hi";
    const QByteArray entry = "<a/>";
    const int entries = (kXmlSourceBytes - int(head.size()) - 8) / int(entry.size());
    if (!WriteFile(work.filePath(QStringLiteral("hostile.ecd")), head + entry.repeated(entries) + "</ECARD>")) {
        state.SkipWithError("cannot write the source");
        return;
    }
    RunOn(state, work, {"/profile=Model A", "/converter=ems_sms", "/logfile=run.log", "hostile.ecd"});
}

// A hundred thousand defaults for the element, declared before the document.
QByteArray CrowdedDocumentType(const QByteArray& element, int attributes = 100000)
{
    QByteArray declaration = "<!DOCTYPE X [<!ATTLIST " + element;
    for (int i = 0; i < attributes; ++i)
        declaration += " d" + QByteArray::number(i) + " CDATA \"x\"";
    return declaration + ">]>";
}

void RunOnFiles(benchmark::State& state, const QList<QPair<const char*, QByteArray>>& files,
                const QList<QByteArray>& words)
{
    QTemporaryDir work;
    for (const auto& file : files) {
        if (!WriteFile(work.filePath(QString::fromLatin1(file.first)), file.second)) {
            state.SkipWithError("cannot write the sources");
            return;
        }
    }
    RunOn(state, work, words);
}

void DescriptionDeclaringAHundredThousandAttributes(benchmark::State& state)
{
    RunOnFiles(state, {{"crowded.anim", CrowdedDocumentType("FRAME") + "<A><FRAME REF=\"f.png\" DELAY=\"100\"/></A>"}},
               {"/profile=Model B", "/converter=ani", "/logfile=run.log", "crowded.anim"});
}

void ECardDeclaringAHundredThousandAttributes(benchmark::State& state)
{
    RunOnFiles(state,
               {{"crowded.ecd", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + CrowdedDocumentType("ECARD")
                                    + "<ECARD>Hi</ECARD>"}},
               {"/profile=Model A", "/converter=ems_sms", "/logfile=run.log", "crowded.ecd"});
}

void ParameterFileDeclaringAHundredThousandAttributes(benchmark::State& state)
{
    RunOnFiles(state,
               {{"tune.rtx", "tune:d=4,o=5,b=120:c,e,g"},
                {"crowded.xml", CrowdedDocumentType("DATA") + "<P><TSECTION/><PSECTION/><ISECTION/></P>"}},
               {"/profile=Model A", "/converter=imy", "/logfile=run.log", "/parameter=crowded.xml", "tune.rtx"});
}

// Each entry at the limit, but the defaults would add a billion attributes to the card.
void ECardWhoseDocumentTypeAddsAttributesToFourMillionEntries(benchmark::State& state)
{
    const QByteArray head =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + CrowdedDocumentType("a", 256) + "<ECARD>Hi";
    const QByteArray entry = "<a/>";
    const int entries = (kXmlSourceBytes - int(head.size()) - 8) / int(entry.size());
    RunOnFiles(state, {{"crowded.ecd", head + entry.repeated(entries) + "</ECARD>"}},
               {"/profile=Model A", "/converter=ems_sms", "/logfile=run.log", "crowded.ecd"});
}

// A source of 200 MB of XML, checked against an existing run log the user named, then converted.
void TwoHundredMegabytesOfXml(benchmark::State& state, const char* name, const QList<QByteArray>& options)
{
    QTemporaryDir work;
    const QByteArray head = "<A>";
    // Written a megabyte at a time: the program started from this process must not inherit 200 MB of it.
    QFile source(work.filePath(QString::fromLatin1(name)));
    bool written = source.open(QIODevice::WriteOnly) && source.write(head) == head.size();
    const QByteArray blanks(1 << 20, ' ');
    for (int megabyte = 0; written && megabyte < 199; ++megabyte)
        written = source.write(blanks) == blanks.size();
    written = written && source.write(blanks.left(blanks.size() - 7)) == blanks.size() - 7
              && source.write("</A>") == 4;
    source.close();
    if (!written || !WriteFile(work.filePath(QStringLiteral("run.log")), "an older log\n")) {
        state.SkipWithError("cannot write the source");
        return;
    }
    RunOn(state, work, options + QList<QByteArray>{"/logfile=run.log", name});
}

void DescriptionOfTwoHundredMegabytes(benchmark::State& state)
{
    TwoHundredMegabytesOfXml(state, "large.anim", {"/profile=Model B", "/converter=ani"});
}

void ECardOfTwoHundredMegabytes(benchmark::State& state)
{
    TwoHundredMegabytesOfXml(state, "large.ecd", {"/profile=Model A", "/converter=ems_sms"});
}

} // namespace

BENCHMARK(DescriptionNamingOnePictureHalfAMillionTimes)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ThousandFramesOfOneColourPicture)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ThousandFramesOfTheirOwnTranslucentPictures)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ECardOfFourMillionEmptyEntries)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(DescriptionDeclaringAHundredThousandAttributes)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ECardDeclaringAHundredThousandAttributes)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ParameterFileDeclaringAHundredThousandAttributes)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ECardWhoseDocumentTypeAddsAttributesToFourMillionEntries)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(DescriptionOfTwoHundredMegabytes)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ECardOfTwoHundredMegabytes)->Unit(benchmark::kMillisecond)->Iterations(1);
