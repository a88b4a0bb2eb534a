#include "EngineTestSupport.h"
#include "Engine/CEngineState.h"
#include "Host/CPluginClass.h"
#include "Plugin/CPluginBase.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

QString Text(const char* id)
{
    return COrvApplication::Message(QString::fromLatin1(id));
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList FilesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

void PrepareEngineApp(const CScratchApp& app)
{
    app.Write(QStringLiteral("Languages/English.xml"),
              ReadAll(QStringLiteral(ORV_SOURCE_DIR "/data/app/Languages/English.xml")));
    for (const char* plugin : {"TestImporter", "TestExporter", "TestTranslator", "TestImageImporter",
                               "TestImageExporter", "TestSoundExporter"})
        app.AddPlugin(QString::fromLatin1(plugin));
    app.WriteParameterFile(QStringLiteral("Plugins/Parameters/TestExporter.xml"));
    app.WriteParameterFile(QStringLiteral("Plugins/Parameters/TestTranslator.xml"));
    app.WriteProfile(QStringLiteral("Phone.xml"), QStringLiteral("PHONE1"),
                     "  <DATA NAME=\"DefaultPictWidth0\" TYPE=\"INT\" VALUE=\"64\"/>\n"
                     "  <DATA NAME=\"DefaultPictHeight0\" TYPE=\"INT\" VALUE=\"64\"/>\n"
                     "  <DATA NAME=\"DefaultPictWidth1\" TYPE=\"INT\" VALUE=\"101\"/>\n"
                     "  <DATA NAME=\"DefaultPictHeight1\" TYPE=\"INT\" VALUE=\"80\"/>\n"
                     "  <DATA NAME=\"DefaultPictWidth2\" TYPE=\"INT\" VALUE=\"32\"/>\n"
                     "  <DATA NAME=\"DefaultPictHeight2\" TYPE=\"INT\" VALUE=\"32\"/>\n");
    app.WriteProfile(QStringLiteral("Refuser.xml"), QStringLiteral("REFUSER"),
                     "  <DATA NAME=\"TestExporterCompatible\" TYPE=\"BOOL\" VALUE=\"false\"/>\n");
    app.WriteProfile(QStringLiteral("Wary.xml"), QStringLiteral("WARY"),
                     "  <DATA NAME=\"TestExporterAnswer\" TYPE=\"INT\" VALUE=\"2\"/>\n");
}

void EngineTest::SetUp()
{
    m_SavedFolder = QDir::currentPath();
    m_SavedDir = qgetenv("ORVANEDIR");
    m_HadDir = qEnvironmentVariableIsSet("ORVANEDIR");
    PrepareEngineApp(m_App);
    qputenv("ORVANEDIR", QFile::encodeName(m_App.Path()));
    m_Start = m_App.FilePath(QStringLiteral("start"));
    m_App.MakeFolder(QStringLiteral("start"));
    QDir::setCurrent(m_Start);
}

void EngineTest::TearDown()
{
    if (m_Application) {
        m_Application->Shutdown();
        m_Application.reset();
    }
    QDir::setCurrent(m_SavedFolder);
    if (m_HadDir)
        qputenv("ORVANEDIR", m_SavedDir);
    else
        qunsetenv("ORVANEDIR");
}

COrvApplication& EngineTest::Start(const QStringList& arguments)
{
    m_Arguments.clear();
    m_Arguments.push_back("Orvane");
    m_Arguments.push_back("/logfile=run.log");
    for (const QString& argument : arguments)
        m_Arguments.push_back(argument.toLocal8Bit());
    m_Argv.clear();
    for (QByteArray& argument : m_Arguments)
        m_Argv.push_back(argument.data());
    m_Argv.push_back(nullptr);
    m_Argc = int(m_Arguments.size());
    m_Application = std::make_unique<COrvApplication>(m_Argc, m_Argv.data());
    m_Application->SetUserPrompt(&m_Prompt);
    EXPECT_EQ(m_Application->Init(), 1);
    if (!m_Application->IsCommandLineMode()) {
        m_Application->GetEngineState().mpWindow = &m_Window;
        m_Application->GetEngineState().mpResizeAsker = &m_Resizer;
    }
    m_LogRead = 0;
    NewLog();
    return *m_Application;
}

QString EngineTest::Write(const QString& relative, const QByteArray& content) const
{
    const QString path = In(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(path);
    file.write(content);
    return path;
}

QString EngineTest::NewLog()
{
    const QByteArray all = ReadAll(In(QStringLiteral("run.log")));
    const QString text = QString::fromLocal8Bit(all.mid(m_LogRead));
    m_LogRead = all.size();
    return text;
}

namespace {

int IndexOf(const QList<CPluginClass*>& list, const char* extension)
{
    for (int i = 0; i < list.size(); ++i) {
        if (list.at(i)->GetConverter()->GetExportExtension() == QLatin1String(extension))
            return i;
    }
    ADD_FAILURE() << "no converter writes " << extension;
    return -1;
}

} // namespace

int EngineTest::ConverterIndex(const char* extension)
{
    return IndexOf(m_Application->GetConverterList(m_Application->GetCurrentProfile()), extension);
}

int EngineTest::TranslatorIndex(const char* extension)
{
    return IndexOf(m_Application->GetTraductorList(m_Application->GetCurrentProfile()), extension);
}

int EngineTest::EntryIndex(const char* extension)
{
    return IndexOf(m_Application->GetEntireList(m_Application->GetCurrentProfile()), extension);
}
