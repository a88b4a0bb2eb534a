#include "ScratchApp.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

struct TestText
{
    const char* id;
    const char* text;
};

const TestText kTexts[] = {
    {"id_fatal_error", "Fatal error"},
    {"id_reinstall", "Please reinstall."},
    {"id_no_converter", "No converter."},
    {"id_import_plugmissing", "An importer is missing."},
    {"id_no_sms_translator", "No SMS translator."},
    {"id_no_profile", "No profile."},
    {"id_warning", "Warning"},
    {"id_param_loaded_failed", "Cannot load %1"},
    {"id_plugin_info", "%1|%2|%3"},
    {"id_help_header", "Test help %1.%2"},
    {"id_help_profile", "<name> profile"},
    {"id_help_parameter", "<file> parameters"},
    {"id_help_destination", "<folder> destination"},
    {"id_help_converter", "<ext> converter"},
    {"id_help_logfile", "<file> log"},
    {"id_help_preview", " previews"},
    {"id_help_help", " help"},
    {"id_help_none", ""},
    {"id_pattern_matched_nothing", "No match for %1 in %2."},
};

} // namespace

CScratchApp::CScratchApp()
{
    EXPECT_TRUE(m_Dir.isValid());
    m_Path = QDir(m_Dir.path()).canonicalPath();
}

void CScratchApp::Write(const QString& relative, const QByteArray& content) const
{
    const QString path = FilePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(path);
    file.write(content);
}

void CScratchApp::MakeFolder(const QString& relative) const
{
    QDir().mkpath(FilePath(relative));
}

QString CScratchApp::FatalReport(const char* id)
{
    return TestMessage(QString::fromLatin1(id)) + QLatin1Char('\n') + TestMessage(QStringLiteral("id_reinstall"));
}

QString CScratchApp::TestMessage(const QString& id)
{
    for (const TestText& text : kTexts) {
        if (id == QLatin1String(text.id))
            return QString::fromLatin1(text.text);
    }
    return QString();
}

void CScratchApp::WriteLanguageFile() const
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Language name=\"English\">\n"
                     "<class name=\"COrvApplication\">\n<message>\n";
    for (const TestText& text : kTexts)
        xml += "  <string id=\"" + QByteArray(text.id) + "\" value=\""
               + QString::fromLatin1(text.text).toHtmlEscaped().toUtf8() + "\"/>\n";
    // The reason a parameter file that is no XML gives, and the line that says it, come from the library's own
    // texts.
    xml += "</message>\n</class>\n<class name=\"CXmlFile\">\n<message>\n"
           "  <string id=\"id_not_well_formed\" value=\"is not a well-formed XML file\"/>\n"
           "</message>\n</class>\n<class name=\"FailureReason\">\n<message>\n"
           "  <string id=\"id_reason_of_file\" value=\"Why: it %1.\"/>\n"
           "</message>\n</class>\n</Language>\n";
    Write(QStringLiteral("Languages/English.xml"), xml);
}

void CScratchApp::AddPlugin(const QString& module, const QString& fileName) const
{
    const QString source = QStringLiteral(ORV_TEST_PLUGIN_DIR "/") + module + QStringLiteral(".so");
    MakeFolder(QStringLiteral("Plugins"));
    const QString target =
        FilePath(QStringLiteral("Plugins/") + (fileName.isEmpty() ? module + QStringLiteral(".so") : fileName));
    QFile::remove(target);
    ASSERT_TRUE(QFile::copy(source, target)) << qPrintable(source);
}

void CProgramArguments::Set(const QStringList& arguments)
{
    m_Arguments.clear();
    m_Arguments.push_back("Orvane");
    for (const QString& argument : arguments)
        m_Arguments.push_back(argument.toLocal8Bit());
    m_Vector.clear();
    for (QByteArray& argument : m_Arguments)
        m_Vector.push_back(argument.data());
    m_Vector.push_back(nullptr);
    m_Count = int(m_Arguments.size());
}

CProcessStateKeeper::CProcessStateKeeper()
    : m_Folder(QDir::currentPath()), m_Dir(qgetenv("ORVANEDIR")), m_HadDir(qEnvironmentVariableIsSet("ORVANEDIR"))
{}

CProcessStateKeeper::~CProcessStateKeeper()
{
    QDir::setCurrent(m_Folder);
    if (m_HadDir)
        qputenv("ORVANEDIR", m_Dir);
    else
        qunsetenv("ORVANEDIR");
}

CProgramRun RunProgram(const QString& program, const QStringList& arguments, const QString& folder,
                       const QString& orvanedir, const QString& platform)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("ORVANEDIR"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    if (!orvanedir.isEmpty())
        environment.insert(QStringLiteral("ORVANEDIR"), orvanedir);
    if (!platform.isEmpty())
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    CProgramRun run;
    run.finished = process.waitForFinished(30000);
    if (!run.finished) {
        process.kill();
        process.waitForFinished(1000);
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QByteArray ValidParameterFile()
{
    return "<PARAMETERS>\n"
           " <TSECTION><TYPE NAME=\"BOOL\"/><TYPE NAME=\"INT\"/><TYPE NAME=\"FLOAT\"/><TYPE NAME=\"TEXT\"/></TSECTION>\n"
           " <PSECTION><DATA NAME=\"Level\" TYPE=\"INT\" VALUE=\"3\" MIN=\"0\" MAX=\"9\"/></PSECTION>\n"
           " <ISECTION/>\n"
           "</PARAMETERS>\n";
}

void CScratchApp::WriteParameterFile(const QString& relative) const
{
    Write(relative, ValidParameterFile());
}

void CScratchApp::WriteProfile(const QString& fileName, const QString& mobileName, const QByteArray& extraData,
                               const QString& folder) const
{
    QByteArray xml = "<PROFILE>\n"
                     " <TSECTION><TYPE NAME=\"BOOL\"/><TYPE NAME=\"INT\"/><TYPE NAME=\"FLOAT\"/><TYPE NAME=\"TEXT\"/>\n"
                     "  <ENUM NAME=\"STYLE\" VALUES=\"Natural Continuous Staccato\"/></TSECTION>\n"
                     " <PSECTION>\n"
                     "  <DATA NAME=\"MobileName\" TYPE=\"TEXT\" VALUE=\""
                     + mobileName.toUtf8()
                     + "\"/>\n"
                       "  <DATA NAME=\"MobileType\" TYPE=\"TEXT\" VALUE=\"Test\"/>\n"
                       "  <DATA NAME=\"MaxPictWidth\" TYPE=\"INT\" VALUE=\"101\"/>\n"
                       "  <DATA NAME=\"MaxPictHeight\" TYPE=\"INT\" VALUE=\"80\"/>\n"
                       "  <DATA NAME=\"DefaultDisplayTime\" TYPE=\"INT\" VALUE=\"100\"/>\n"
                       "  <DATA NAME=\"MaxMediaSize\" TYPE=\"INT\" VALUE=\"1024\"/>\n"
                       "  <DATA NAME=\"NbMaxPictAnim\" TYPE=\"INT\" VALUE=\"8\"/>\n"
                       "  <DATA NAME=\"BuzzerNaturalCompatible\" TYPE=\"BOOL\" VALUE=\"true\"/>\n"
                       "  <DATA NAME=\"BuzzerContinuousCompatible\" TYPE=\"BOOL\" VALUE=\"true\"/>\n"
                       "  <DATA NAME=\"BuzzerStaccatoCompatible\" TYPE=\"BOOL\" VALUE=\"false\"/>\n"
                       "  <DATA NAME=\"BuzzerDefaultStyle\" TYPE=\"STYLE\" VALUE=\"Natural\"/>\n"
                       "  <DATA NAME=\"MinBpmBuzzer\" TYPE=\"INT\" VALUE=\"25\"/>\n"
                       "  <DATA NAME=\"MaxBpmBuzzer\" TYPE=\"INT\" VALUE=\"900\"/>\n"
                       "  <DATA NAME=\"BuzzerBandWidthLowNote\" TYPE=\"INT\" VALUE=\"0\"/>\n"
                       "  <DATA NAME=\"BuzzerBandWidthHighNote\" TYPE=\"INT\" VALUE=\"127\"/>\n"
                       "  <DATA NAME=\"BrimselOneLineMelodies\" TYPE=\"BOOL\" VALUE=\"false\"/>\n"
                     + extraData
                     + " </PSECTION>\n"
                       " <ISECTION/>\n"
                       "</PROFILE>\n";
    Write(folder + QLatin1Char('/') + fileName, xml);
}

void CScratchApp::MakeComplete() const
{
    WriteLanguageFile();
    AddPlugin(QStringLiteral("TestImporter"));
    AddPlugin(QStringLiteral("TestExporter"));
    AddPlugin(QStringLiteral("TestTranslator"));
    WriteParameterFile(QStringLiteral("Plugins/Parameters/TestExporter.xml"));
    WriteParameterFile(QStringLiteral("Plugins/Parameters/TestTranslator.xml"));
    WriteProfile(QStringLiteral("Phone.xml"), QStringLiteral("PHONE1"));
}
