// The shipped language file answers every message a plug-in looks up, under
// the class name the plug-in looks it up with. The ids are read from the
// plug-ins' sources, so a message added to the code without its text fails here.
#include "Text/CLanguageResources.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <gtest/gtest.h>

namespace {
struct SourceFile
{
    QString path;
    QString text;
};

// A plug-in's own sources: its tests, benchmarks and fuzz targets look nothing up.
QList<SourceFile> PluginSources(const QString& folder)
{
    QList<SourceFile> files;
    QDirIterator it(folder, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    const QRegularExpression helperFolder(QStringLiteral("/(tests|bench|fuzz)/"));
    while (it.hasNext()) {
        const QString path = it.next();
        if (helperFolder.match(path.mid(folder.size())).hasMatch())
            continue;
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            files.append({path, QString::fromUtf8(file.readAll())});
    }
    return files;
}

QStringList Matches(const QString& text, const QRegularExpression& pattern)
{
    QStringList found;
    for (auto it = pattern.globalMatch(text); it.hasNext();)
        found << it.next().captured(1);
    return found;
}

// The converter classes a plug-in declares: their names are its message contexts.
QStringList ConverterClasses(const QList<SourceFile>& files)
{
    static const QRegularExpression declaration(
        QStringLiteral("class\\s+(C\\w+)\\s*(?:final\\s*)?:\\s*public\\s+C(?:PluginBase|\\w*ImporterBase)\\b"));
    QStringList classes;
    for (const SourceFile& file : files)
        classes << Matches(file.text, declaration);
    classes.removeDuplicates();
    return classes;
}

// The ids one source file looks up. The importers' common failure report,
// also made by the frame's document and picture endings, looks up "id_import_error".
QStringList MessageIds(const SourceFile& file)
{
    static const QRegularExpression literal(QStringLiteral("\"(id_[A-Za-z0-9_]+)\""));
    QStringList ids = Matches(file.text, literal);
    static const QRegularExpression failureReport(
        QStringLiteral("\\b(ReportImportFailure|DocumentOrFailure|ImportPicture)\\("));
    if (file.text.contains(failureReport))
        ids << QStringLiteral("id_import_error");
    ids.removeDuplicates();
    return ids;
}

// The classes a file speaks for: those it names, else every class of the plug-in.
QStringList ContextsOf(const SourceFile& file, const QStringList& classes)
{
    QStringList named;
    for (const QString& name : classes)
        if (file.text.contains(QRegularExpression(QStringLiteral("\\b") + name + QStringLiteral("\\b"))))
            named << name;
    return named.isEmpty() ? classes : named;
}
} // namespace

TEST(PluginMessageIds, EveryIdAPluginLooksUpHasItsText)
{
    ASSERT_TRUE(CLanguageResources::Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Languages/English.xml")));
    const QDir plugins(QStringLiteral(ORV_SOURCE_DIR "/OrvPlugins"));
    int checked = 0;
    for (const QString& name : plugins.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        SCOPED_TRACE(name.toStdString());
        const QList<SourceFile> files = PluginSources(plugins.filePath(name));
        const QStringList classes = ConverterClasses(files);
        for (const SourceFile& file : files) {
            for (const QString& id : MessageIds(file)) {
                for (const QString& context : ContextsOf(file, classes)) {
                    EXPECT_FALSE(CLanguageResources::GetMessage(context, id).isEmpty())
                        << "no text for " << context.toStdString() << " / " << id.toStdString() << " ("
                        << QDir(plugins).relativeFilePath(file.path).toStdString() << ")";
                    ++checked;
                }
            }
        }
    }
    // The importers and the iMelody exporter look up messages: the scan found them.
    EXPECT_GE(checked, 20);
    CLanguageResources::Load(QString());
}

TEST(PluginMessageIds, AMissingTextIsNoticed)
{
    ASSERT_TRUE(CLanguageResources::Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Languages/English.xml")));
    EXPECT_FALSE(
        CLanguageResources::GetMessage(QStringLiteral("CTunra"), QStringLiteral("id_midi_file_empty")).isEmpty());
    EXPECT_TRUE(
        CLanguageResources::GetMessage(QStringLiteral("CSonra"), QStringLiteral("id_midi_file_empty")).isEmpty());
    EXPECT_TRUE(
        CLanguageResources::GetMessage(QStringLiteral("CTunra"), QStringLiteral("id_no_such_message")).isEmpty());
    CLanguageResources::Load(QString());
}
