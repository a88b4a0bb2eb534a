#include "Documents/CDocument.h"
#include "Host/CPluginClass.h"
#include "Host/CPluginManager.h"
#include "Parameters/CProfile.h"
#include "Plugin/CPluginBase.h"
#include "QtPrinters.h"
#include "ScratchApp.h"
#include <QDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

QStringList Extensions(const QList<CPluginClass*>& records)
{
    QStringList list;
    for (CPluginClass* record : records)
        list.append(record->GetConverter()->GetExportExtension());
    return list;
}

// Each test loads from its own scratch folder, with ORVANEDIR naming it so that the plug-ins find the
// language file, and puts the current folder back afterwards.
class PluginHostTest : public ::testing::Test
{
protected:
    void SetUp() override { qputenv("ORVANEDIR", QFile::encodeName(m_App.Path())); }
    void TearDown() override { m_Manager.Unload(); }
    void Load(const QString& parameterFolder = QStringLiteral("Parameters"))
    {
        EXPECT_EQ(m_Manager.Load(m_App.FilePath(QStringLiteral("Plugins/")), parameterFolder), 1);
    }

    CProcessStateKeeper m_Keeper;
    CScratchApp m_App;
    CPluginManager m_Manager;
};

TEST_F(PluginHostTest, LoadsEveryLibraryInNameOrderWhateverItIs)
{
    m_App.MakeComplete();
    m_App.AddPlugin(QStringLiteral("TestNotAPlugin"));
    m_App.AddPlugin(QStringLiteral("TestMissingExport"));
    m_App.AddPlugin(QStringLiteral("TestImporter"), QStringLiteral("AN_UPPER_IMPORTER.SO"));
    m_App.Write(QStringLiteral("Plugins/readme.txt"), "not a library");
    m_App.Write(QStringLiteral("Plugins/broken.so"), "not a library either");
    Load();

    ASSERT_EQ(m_Manager.GetPluginCount(), 7);
    const QStringList expected{
        QStringLiteral("Test importer"),  QString(), QStringLiteral("Test exporter"),  QStringLiteral("Test importer"),
        QStringLiteral("Missing export"), QString(), QStringLiteral("Test translator")};
    for (int n = 0; n < 7; ++n)
        EXPECT_EQ(m_Manager.GetPluginName(unsigned(n)), expected.at(n)) << n;
    // AN_UPPER_IMPORTER.SO, broken.so, TestExporter.so, TestImporter.so, TestMissingExport.so,
    // TestNotAPlugin.so, TestTranslator.so: one record per class of the libraries that have one.
    ASSERT_EQ(m_Manager.GetClassList().size(), 4);
    for (CPluginClass* record : m_Manager.GetClassList())
        EXPECT_TRUE(record->IsUsable());

    EXPECT_TRUE(m_Manager.GetPluginName(1).isNull());
    EXPECT_EQ(m_Manager.GetPluginVersion(1), QStringLiteral("0.0"));
    EXPECT_TRUE(m_Manager.GetPluginBuildDate(5).isNull());
    EXPECT_EQ(m_Manager.GetPluginBuildDate(4), QStringLiteral("Oct  1 2002"));
    EXPECT_EQ(m_Manager.GetPluginVersion(4), QStringLiteral("3.4"));
    EXPECT_EQ(m_Manager.GetPluginVersion(2), QStringLiteral("1.22"));
    EXPECT_EQ(m_Manager.GetPluginVersion(0), QStringLiteral("1.1"));
    // Outside the list: empty, not null.
    EXPECT_TRUE(m_Manager.GetPluginName(7).isEmpty());
    EXPECT_FALSE(m_Manager.GetPluginName(7).isNull());
    EXPECT_TRUE(m_Manager.GetPluginVersion(99).isEmpty());
    EXPECT_TRUE(m_Manager.GetPluginBuildDate(unsigned(-1)).isEmpty());
}

TEST_F(PluginHostTest, VersionText)
{
    EXPECT_EQ(CPluginManager::VersionText(0x10001), QStringLiteral("1.1"));
    EXPECT_EQ(CPluginManager::VersionText(0x10016), QStringLiteral("1.22"));
    EXPECT_EQ(CPluginManager::VersionText(0x00020003), QStringLiteral("2.3"));
    EXPECT_EQ(CPluginManager::VersionText(0), QStringLiteral("0.0"));
    EXPECT_EQ(CPluginManager::VersionText(-1), QStringLiteral("65535.65535"));
}

TEST_F(PluginHostTest, QueryByKindTypeExtensionAndProfile)
{
    m_App.MakeComplete();
    Load();
    // kind 2 admits exporters and translators alike; the mask decides.
    EXPECT_EQ(Extensions(m_Manager.Query(2, 0, -1, QString(), QString(), nullptr)),
              (QStringList{QStringLiteral("TST"), QStringLiteral("TST_SMS")}));
    EXPECT_EQ(Extensions(m_Manager.Query(2, 0, 0x3E, QString(), QString(), nullptr)),
              QStringList{QStringLiteral("TST")});
    EXPECT_EQ(Extensions(m_Manager.Query(3, 0, 1, QString(), QString(), nullptr)),
              QStringList{QStringLiteral("TST_SMS")});
    EXPECT_EQ(Extensions(m_Manager.Query(2, 1, -1, QString(), QString(), nullptr)), QStringList{QStringLiteral("TST")});
    EXPECT_EQ(m_Manager.Query(1, 0, -1, QString(), QString(), nullptr).size(), 2); // importer and translator
    EXPECT_EQ(m_Manager.Query(1, 2, -1, QString(), QString(), nullptr).size(), 1);
    EXPECT_EQ(m_Manager.Query(1, 0, 8, QString(), QString(), nullptr).size(), 1);
    EXPECT_TRUE(m_Manager.Query(1, 0, 0x10, QString(), QString(), nullptr).isEmpty());
    // Extensions are compared without regard to case.
    EXPECT_EQ(Extensions(m_Manager.Query(2, 0, -1, QStringLiteral("tst"), QString(), nullptr)),
              QStringList{QStringLiteral("TST")});
    EXPECT_EQ(m_Manager.Query(1, 0, 8, QString(), QStringLiteral("tst"), nullptr).size(), 1);
    EXPECT_EQ(m_Manager.Query(1, 0, -1, QString(), QStringLiteral("TXT"), nullptr).size(), 2);
    EXPECT_EQ(m_Manager.Query(3, 0, -1, QString(), QStringLiteral("Ecd"), nullptr).size(), 1);
    // Exporters have no import extension, so an import extension never finds one.
    EXPECT_TRUE(m_Manager.Query(2, 1, -1, QString(), QStringLiteral("TXT"), nullptr).isEmpty());
    EXPECT_TRUE(m_Manager.Query(1, 0, -1, QString(), QStringLiteral("MID"), nullptr).isEmpty());

    CProfile refusing;
    m_App.WriteProfile(QStringLiteral("No.xml"), QStringLiteral("NO"),
                       "<DATA NAME=\"TestExporterCompatible\" TYPE=\"BOOL\" VALUE=\"false\"/>");
    ASSERT_TRUE(refusing.Load(m_App.FilePath(QStringLiteral("Profiles/No.xml"))));
    EXPECT_EQ(Extensions(m_Manager.Query(2, 0, -1, QString(), QString(), &refusing)),
              QStringList{QStringLiteral("TST_SMS")});
    CProfile accepting;
    ASSERT_TRUE(accepting.Load(m_App.FilePath(QStringLiteral("Profiles/Phone.xml"))));
    EXPECT_EQ(m_Manager.Query(2, 0, -1, QString(), QString(), &accepting).size(), 2);
}

TEST_F(PluginHostTest, FailedParameterFileOrResourcesMakeAClassUnusable)
{
    m_App.WriteLanguageFile();
    m_App.AddPlugin(QStringLiteral("TestImporter"));
    m_App.AddPlugin(QStringLiteral("TestExporter"));
    m_App.AddPlugin(QStringLiteral("TestTranslator"));
    m_App.Write(QStringLiteral("Plugins/Parameters/TestExporter.xml"), "<PARAMETERS><TSECTION/></PARAMETERS>");
    Load();
    ASSERT_EQ(m_Manager.GetClassList().size(), 3);
    const CPluginClass* exporter = m_Manager.GetClassList().at(0);
    const CPluginClass* translator = m_Manager.GetClassList().at(2);
    EXPECT_EQ(exporter->GetFlags(), CPluginClass::UNUSABLE);
    EXPECT_EQ(exporter->GetDefaultParameters(), nullptr);
    EXPECT_EQ(translator->GetFlags(), CPluginClass::UNUSABLE); // its file is missing
    EXPECT_EQ(m_Manager.GetClassList().at(1)->GetFlags(), 0);  // the importer names no file
    EXPECT_TRUE(m_Manager.Query(2, 0, -1, QString(), QString(), nullptr).isEmpty());
    m_Manager.Unload();

    // Without a language file every converter's resources fail, and each says so through the host's
    // reporter, not through a box of its own.
    static QStringList reports;
    reports.clear();
    m_Manager.SetResourceFailureReporter(
        [](const QString& title, const QString& text) { reports << title + QLatin1Char('|') + text; });
    QFile::remove(m_App.FilePath(QStringLiteral("Languages/English.xml")));
    m_App.WriteParameterFile(QStringLiteral("Plugins/Parameters/TestExporter.xml"));
    Load();
    ASSERT_EQ(m_Manager.GetClassList().size(), 3);
    for (CPluginClass* record : m_Manager.GetClassList())
        EXPECT_EQ(record->GetFlags(), CPluginClass::UNUSABLE);
    ASSERT_EQ(reports.size(), 3);
    EXPECT_EQ(reports.first(),
              QStringLiteral("Fatal Error|Ressources file not found!\nPlease refer to documentation..."));
    EXPECT_NE(m_Manager.GetClassList().at(0)->GetDefaultParameters(), nullptr);
}

TEST_F(PluginHostTest, ParameterFolderNamedAfterTheLibraryWhenNoNameIsGiven)
{
    m_App.MakeComplete();
    m_App.WriteParameterFile(QStringLiteral("Plugins/TestExporter/TestExporter.xml"));
    Load(QString());
    ASSERT_EQ(m_Manager.GetClassList().size(), 3);
    EXPECT_NE(m_Manager.GetClassList().at(0)->GetDefaultParameters(), nullptr);
    EXPECT_EQ(m_Manager.GetClassList().at(2)->GetFlags(), CPluginClass::UNUSABLE);
    // The last library's parameter folder does not exist, so loading ends in the plug-in folder.
    EXPECT_EQ(QDir::currentPath(), m_App.FilePath(QStringLiteral("Plugins")));
}

TEST_F(PluginHostTest, MissingOrEmptyFolderLoadsNothing)
{
    m_App.MakeComplete();
    const QString before = QDir::currentPath();
    EXPECT_EQ(m_Manager.Load(m_App.FilePath(QStringLiteral("NoPlugins/")), QStringLiteral("Parameters")), 1);
    EXPECT_EQ(m_Manager.GetPluginCount(), 0);
    EXPECT_TRUE(m_Manager.GetClassList().isEmpty());
    EXPECT_EQ(QDir::currentPath(), before);

    m_App.MakeFolder(QStringLiteral("Empty"));
    EXPECT_EQ(m_Manager.Load(m_App.FilePath(QStringLiteral("Empty/")), QStringLiteral("Parameters")), 1);
    EXPECT_EQ(m_Manager.GetPluginCount(), 0);
    EXPECT_EQ(QDir::currentPath(), m_App.FilePath(QStringLiteral("Empty")));
}

// The test plug-ins themselves: what the engine's tests rely on.
TEST_F(PluginHostTest, TestConvertersBehaveAsTheirInputSelects)
{
    m_App.MakeComplete();
    Load();
    CPluginBase* importer =
        m_Manager.Query(1, 2, -1, QString(), QStringLiteral("txt"), nullptr).value(0)->GetConverter();
    CPluginBase* exporter =
        m_Manager.Query(2, 1, -1, QStringLiteral("TST"), QString(), nullptr).value(0)->GetConverter();
    CPluginBase* translator = m_Manager.Query(3, 0, 1, QString(), QString(), nullptr).value(0)->GetConverter();
    EXPECT_EQ(importer->Import(QByteArray()), nullptr);
    EXPECT_EQ(importer->GetConversionLog()->GetSummaryText(), QStringLiteral("Empty test file\n"));

    struct Case
    {
        const char* input;
        bool ok;
        QList<QByteArray> chunks;
        bool preview;
    };
    const Case cases[] = {
        {"fail now", false, {}, false},
        {"two", true, {"AB", "CDE"}, false},
        {"oversize", true, {QByteArray(4096, 'X')}, false},
        {"preview", true, {"preview"}, true},
        {"nochunk", true, {}, false},
        {"plain text", true, {"plain text"}, false},
    };
    for (const Case& c : cases) {
        std::unique_ptr<CDocument> document(importer->Import(QByteArray(c.input)));
        ASSERT_NE(document, nullptr) << c.input;
        EXPECT_EQ(document->GetDocType(), exporter->GetDocumentType());
        EXPECT_EQ(exporter->Convert(document.get()), c.ok) << c.input;
        EXPECT_EQ(exporter->GetRawDataList(), c.chunks) << c.input;
        EXPECT_EQ(exporter->GetPreviewDocument() != nullptr, c.preview) << c.input;
        delete exporter->TakePreviewDocument();
        exporter->ClearRawData();
    }
    EXPECT_EQ(exporter->GetConversionLog()->GetSummaryText(), QStringLiteral("Test conversion failed\n"));

    std::unique_ptr<CDocument> message(translator->Import(QByteArray("0123456789abcde")));
    ASSERT_NE(message, nullptr);
    EXPECT_TRUE(translator->Convert(message.get()));
    EXPECT_EQ(translator->GetRawDataList(), (QList<QByteArray>{"0123456789", "abcde"}));
    EXPECT_FALSE(translator->Convert(message.get())); // the chunk list must be empty at the start
    translator->ClearRawData();

    EXPECT_EQ(translator->Import(QByteArray("unreadable")), nullptr);
    EXPECT_EQ(translator->GetConversionLog()->GetDetailedText(), QStringLiteral("Not a test message\n"));
    std::unique_ptr<CDocument> failing(translator->Import(QByteArray("fail")));
    ASSERT_NE(failing, nullptr);
    EXPECT_FALSE(translator->Convert(failing.get()));
    EXPECT_TRUE(translator->GetRawDataList().isEmpty());
    std::unique_ptr<CDocument> previewed(translator->Import(QByteArray("preview")));
    ASSERT_NE(previewed, nullptr);
    EXPECT_TRUE(translator->Convert(previewed.get()));
    EXPECT_NE(translator->GetPreviewDocument(), nullptr);
    delete translator->TakePreviewDocument();
    translator->ClearRawData();
}

TEST_F(PluginHostTest, UnloadReleasesEverythingAndCanRunTwice)
{
    m_App.MakeComplete();
    Load();
    EXPECT_EQ(m_Manager.Unload(), 1);
    EXPECT_EQ(m_Manager.GetPluginCount(), 0);
    EXPECT_TRUE(m_Manager.GetClassList().isEmpty());
    EXPECT_EQ(m_Manager.Unload(), 1);
}

} // namespace
