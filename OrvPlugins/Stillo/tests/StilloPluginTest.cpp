// The plug-in as the host loads it, and the seeds of the exporters' fuzz target.
#include "ExporterTestSupport.h"

using namespace ExporterTest;

TEST(StilloPlugin, ModuleExportsAPictureConverter)
{
    ExpectModule(ORV_PLUGIN_FILE, "Stillo", 0x10016, "PIC");
}

TEST(ExportersFuzzSeeds, WrittenFromTheExamples)
{
    // The exporters' fuzz target reads a picking byte, a shaping byte, then a source file.
    struct Seed
    {
        const char* name;
        int exporter, shape;
        const char* example;
    } const seeds[] = {
        {"picture-grey", 0, 0x2B, "logo.png"},   {"picture-ems", 0, 0x40, "wink1.png"},
        {"animation", 1, 0x0F, "wink2.png"},     {"ems-animation", 2, 0x00, "wink3.png"},
        {"melody-midi", 3, 0x80, "morning.mid"}, {"melody-rtttl", 3, 0x01, "harbour.rtx"},
    };
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(ORV_CORPUS_DIR)));
    for (const Seed& seed : seeds) {
        QFile example(SourcePath(QStringLiteral("examples/") + QString::fromLatin1(seed.example)));
        ASSERT_TRUE(example.open(QIODevice::ReadOnly)) << seed.example;
        QFile file(QStringLiteral(ORV_CORPUS_DIR "/") + QString::fromLatin1(seed.name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Bytes({seed.exporter, seed.shape}) + example.readAll());
    }
}
