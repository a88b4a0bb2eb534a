#include "EngineTestSupport.h"
#include "Core/CGenerationInfo.h"
#include "Engine/CEngineState.h"
#include "Host/CPluginClass.h"
#include "Plugin/CPluginBase.h"
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

QString Text(const char* id)
{
    return COrvApplication::Message(QString::fromLatin1(id));
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

QString ConvertedSourceLog(const QString& source, const QStringList& files)
{
    const QChar lf = QLatin1Char('\n');
    QString log =
        Text("id_opening_file").arg(source) + lf + Text("id_importing") + lf + Text("id_convertion_success") + lf;
    for (const QString& file : files)
        log += Text("id_saving_file").arg(file) + lf;
    return log;
}

void EngineTest::SetUp()
{
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
}

void EngineOutputTest::SetUp()
{
    EngineTest::SetUp();
    Start();
    m_Out = In(QStringLiteral("out"));
    QDir().mkpath(m_Out);
}

COrvApplication& EngineTest::Start(const QStringList& arguments)
{
    m_Arguments.Set(QStringList(QStringLiteral("/logfile=run.log")) + arguments);
    m_Application = std::make_unique<COrvApplication>(m_Arguments.Count(), m_Arguments.Vector());
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
    m_App.Write(QStringLiteral("start/") + relative, content);
    return In(relative);
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

QByteArray EngineTest::LoadAndConvert(const char* name, const QByteArray& text, const char* extension)
{
    QString path = Write(QString::fromLatin1(name), text);
    B32 success = 0;
    m_Application->LoadMediaAsked(path, ConverterIndex(extension), success);
    EXPECT_EQ(success, 1);
    CGenerationInfo info(path, ConverterIndex(extension), nullptr, QString());
    m_Application->ConvertionAsked(0, &info);
    return ResultBytes();
}

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
