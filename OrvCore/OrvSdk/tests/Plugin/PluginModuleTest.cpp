// Loads the test plug-ins the way the host does: by absolute path, resolving
// the five exports by name, and talking to converters through virtual calls.
#include "Documents/CDocumentAbstract.h"
#include "Documents/CDocumentPicture.h"
#include "LoadedPluginModule.h"
#include "Plugin/CPluginBase.h"
#include "Plugin/PluginExports.h"
#include "PluginTestSupport.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <memory>

namespace {
class PluginModule : public testing::Test
{
protected:
    void Load(const char* path)
    {
        m_pModule = std::make_unique<LoadedPluginModule>(path);
        ASSERT_TRUE(m_pModule->IsLoaded()) << m_pModule->Error();
        ASSERT_TRUE(m_pModule->HasFiveExports());
    }

    void TearDown() override
    {
        if (m_pModule) {
            EXPECT_EQ(m_pModule->Unload(), 0);
        }
    }

    std::unique_ptr<LoadedPluginModule> m_pModule;
};
} // namespace

TEST_F(PluginModule, OneClassLibraryIgnoresTheIndex)
{
    Load(ORV_TEST_PLUGIN_ONE);
    EXPECT_STREQ(m_pModule->name(), "Test plug-in one");
    EXPECT_EQ(m_pModule->version(), 0x10001);
    EXPECT_EQ(m_pModule->classCount(), 1);
    CPluginClassInfo* only = m_pModule->classInfo(0);
    ASSERT_NE(only, nullptr);
    EXPECT_EQ(m_pModule->classInfo(5), only);
    EXPECT_EQ(m_pModule->classInfo(-1), only);
}

TEST_F(PluginModule, TwoClassLibraryRefusesIndexesBeyondTheCount)
{
    Load(ORV_TEST_PLUGIN_TWO);
    EXPECT_STREQ(m_pModule->name(), "Test plug-in two");
    EXPECT_EQ(m_pModule->version() >> 16, 2);
    EXPECT_EQ(m_pModule->version() & 0xFFFF, 3);
    EXPECT_EQ(m_pModule->classCount(), 2);
    ASSERT_NE(m_pModule->classInfo(0), nullptr);
    ASSERT_NE(m_pModule->classInfo(1), nullptr);
    EXPECT_NE(m_pModule->classInfo(0), m_pModule->classInfo(1));
    EXPECT_EQ(m_pModule->classInfo(2), nullptr);
    EXPECT_EQ(m_pModule->classInfo(-1), nullptr);
}

TEST_F(PluginModule, BuildDateLooksLikeTheCompilerDate)
{
    Load(ORV_TEST_PLUGIN_ONE);
    const QString date = QString::fromLatin1(m_pModule->buildDate());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[A-Z][a-z]{2} [ 1-3][0-9] [0-9]{4}$")).match(date).hasMatch())
        << date.toStdString();
}

TEST_F(PluginModule, OnlyTheFiveEntryPointsAreVisible)
{
    Load(ORV_TEST_PLUGIN_ONE);
    // The plug-in's own copy of the library stays inside it.
    EXPECT_EQ(dlsym(m_pModule->Handle(), "_ZN11CPluginBase13LoadResourcesEv"), nullptr);
    EXPECT_EQ(dlsym(m_pModule->Handle(), "_ZN8CMemFile5WriteEPKvjj"), nullptr);
}

TEST_F(PluginModule, ConvertersAnswerThroughVirtualCalls)
{
    Load(ORV_TEST_PLUGIN_TWO);
    CPluginBase* importer = m_pModule->classInfo(0)->CreateInstance();
    CPluginBase* exporter = m_pModule->classInfo(1)->CreateInstance();
    ASSERT_NE(importer, nullptr);
    ASSERT_NE(exporter, nullptr);

    EXPECT_EQ(importer->GetConverterType(), 1);
    EXPECT_EQ(importer->GetDocumentType(), CDocument::ABSTRACT);
    EXPECT_EQ(importer->GetImportExtensionCount(), 2);
    EXPECT_EQ(importer->GetImportExtension(1), QStringLiteral("bin"));
    EXPECT_EQ(exporter->GetConverterType(), 2);
    EXPECT_EQ(exporter->GetDocumentType(), CDocument::PICTURE | CDocument::ANIMATION);
    EXPECT_EQ(exporter->GetExportExtension(), QStringLiteral("TST"));
    EXPECT_EQ(exporter->GetDescription(), QStringLiteral("Test exporter"));
    EXPECT_EQ(exporter->IsCancelable(), 0);

    CDocument* imported = importer->Import(QByteArray("xyz"));
    ASSERT_NE(imported, nullptr);
    EXPECT_EQ(imported->GetDocType(), CDocument::ABSTRACT);
    delete imported;

    delete importer;
    delete exporter;
}

TEST_F(PluginModule, ConversionResultsCrossTheBoundary)
{
    Load(ORV_TEST_PLUGIN_ONE);
    CPluginBase* exporter = m_pModule->classInfo(0)->CreateInstance();
    ASSERT_NE(exporter, nullptr);

    QList<int> byPointer;
    QObject::connect(exporter, &CPluginBase::SetProgress, [&](const QString, int p) { byPointer << p; });
    ProgressReceiver byName;
    ASSERT_TRUE(QObject::connect(exporter, SIGNAL(SetProgress(const QString, int)), &byName,
                                 SLOT(OnProgress(const QString, int))));

    CDocumentPicture picture(QImage(1, 1, QImage::Format_RGB32));
    ASSERT_TRUE(exporter->Convert(&picture));
    EXPECT_EQ(byPointer, (QList<int>{50, 100}));
    EXPECT_EQ(byName.m_Values, (QList<int>{50, 100}));
    EXPECT_EQ(byName.m_Texts, (QStringList{QStringLiteral("converting"), QStringLiteral("converting")}));

    std::unique_ptr<CDocumentAbstract> joined(exporter->GetRawDataAsDocument());
    ASSERT_NE(joined, nullptr);
    EXPECT_EQ(joined->ToByteArray(), QByteArray("headtail"));

    std::unique_ptr<CDocument> preview(exporter->TakePreviewDocument());
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->GetDocType(), CDocument::PICTURE);
    EXPECT_EQ(exporter->GetPreviewDocument(), nullptr);
    exporter->ClearRawData();
    EXPECT_TRUE(exporter->GetRawDataList().isEmpty());

    CDocumentAbstract raw;
    EXPECT_FALSE(exporter->Convert(&raw));
    EXPECT_EQ(exporter->GetConversionLog()->GetSummaryText(), QStringLiteral("unsupported document\n"));

    preview.reset(); // its code lives in the plug-in: gone before dlclose
    delete exporter;
}

TEST_F(PluginModule, MissingLanguageFileOpensNothingModal)
{
    Load(ORV_TEST_PLUGIN_ONE);
    ScopedAppFolder unset(nullptr);
    MessageCapture catcher;
    CPluginBase* exporter = m_pModule->classInfo(0)->CreateInstance();
    ASSERT_NE(exporter, nullptr);
    EXPECT_EQ(exporter->LoadResources(), 0);
    EXPECT_EQ(exporter->UnloadResources(), 1);
    delete exporter;
    ASSERT_EQ(catcher.Messages().size(), 1);
    EXPECT_TRUE(catcher.Messages().first().startsWith(QStringLiteral("Fatal Error: ")));
}
