// The program with every developer test key converts exactly as without one: same files, same run log,
// same output and exit code.
#include "QtPrinters.h"
#include "ScratchApp.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CConversionRun
{
    CProgramRun run;
    QByteArray log;
    QStringList outputNames;
    QList<QByteArray> outputs;
};

// One command-line run from the work folder holding the example tune, its output folder emptied first (the
// run log names the folders, so every run of a comparison uses the same one); the user option goes first.
CConversionRun Convert(const QTemporaryDir& work, const QString& userOption, const QString& source)
{
    CConversionRun result;
    QDir(work.filePath(QStringLiteral("out"))).removeRecursively();
    QFile::remove(work.filePath(QStringLiteral("run.log")));
    if (!QDir(work.path()).mkdir(QStringLiteral("out")))
        return result;
    QStringList arguments;
    if (!userOption.isNull())
        arguments << userOption;
    arguments << QStringLiteral("/profile=Model A") << QStringLiteral("/converter=imy")
              << QStringLiteral("/destination=out") << QStringLiteral("/preview") << QStringLiteral("/logfile=run.log")
              << source;
    result.run = RunProgram(QStringLiteral(ORV_PROGRAM_FILE), arguments, work.path(), QStringLiteral(ORV_APP_DIR));
    result.log = ReadAll(work.filePath(QStringLiteral("run.log")));
    const QDir out(work.filePath(QStringLiteral("out")));
    result.outputNames = out.entryList(QDir::Files, QDir::Name);
    for (const QString& name : result.outputNames)
        result.outputs.append(ReadAll(out.filePath(name)));
    return result;
}

TEST(TestKeyProgram, EveryKeyConvertsExactlyAsWithout)
{
    const char* const options[] = {"/user=talmo",  "/USER=Talmo",   "/user=brenna", "/user=corvin",
                                   "/user=isolde", "/user=weyland", "/user=nobody", "/user="};
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(ORV_SOURCE_DIR "/examples/morning.mid"), work.filePath(QStringLiteral("tune.mid"))));
    for (const char* source : {"tune.mid", "missing.mid"}) {
        const CConversionRun plain = Convert(work, QString(), QString::fromLatin1(source));
        ASSERT_TRUE(plain.run.finished) << source;
        EXPECT_TRUE(plain.run.err.isEmpty()) << source << ": " << plain.run.err.constData();
        if (QLatin1String(source) == QLatin1String("tune.mid")) {
            EXPECT_EQ(plain.run.exitCode, 0) << plain.log.constData();
            EXPECT_EQ(plain.outputNames,
                      (QStringList{QStringLiteral("tune.IMY"), QStringLiteral("tune_previewIMY.WAV")}));
        } else {
            EXPECT_EQ(plain.run.exitCode, 1);
            EXPECT_TRUE(plain.outputNames.isEmpty());
            EXPECT_FALSE(plain.log.isEmpty());
        }
        for (const char* option : options) {
            const CConversionRun keyed = Convert(work, QString::fromLatin1(option), QString::fromLatin1(source));
            const std::string name = std::string(option) + " " + source;
            ASSERT_TRUE(keyed.run.finished) << name;
            EXPECT_EQ(keyed.run.exitCode, plain.run.exitCode) << name;
            EXPECT_EQ(keyed.run.out, plain.run.out) << name;
            EXPECT_EQ(keyed.run.err, plain.run.err) << name << ": " << keyed.run.err.constData();
            EXPECT_EQ(keyed.log, plain.log) << name;
            EXPECT_EQ(keyed.outputNames, plain.outputNames) << name;
            EXPECT_TRUE(keyed.outputs == plain.outputs) << name;
        }
    }
}

} // namespace
