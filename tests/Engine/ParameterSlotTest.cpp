// The parameter slots: the working set handed to the panels, and the user's parameter files.
#include "EngineTestSupport.h"
#include "Host/CPluginClass.h"
#include "Parameters/CParameter.h"
#include "Parameters/CParameters.h"
#include "QtPrinters.h"
#include <QDir>
#include <gtest/gtest.h>

namespace {

class ParameterSlotTest : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        Start();
        m_Record = m_Application->GetConverterList(nullptr).at(ConverterIndex("TST"));
    }
    CParameters* Working()
    {
        CParameters* parameters = nullptr;
        m_Application->GetConverterParameters(ConverterIndex("TST"), &parameters);
        return parameters;
    }
    int Level(CParameters* parameters) { return parameters->GetIntParameter(QStringLiteral("Level"))->mValue; }

    CPluginClass* m_Record = nullptr;
};

TEST_F(ParameterSlotTest, TheUsersFileReplacesTheDefaultsUntilTheyAreAskedBack)
{
    CParameters* defaults = m_Record->GetDefaultParameters();
    ASSERT_NE(defaults, nullptr);
    EXPECT_EQ(Working(), defaults);
    m_Application->GetConverterParameters(ConverterIndex("TST"), nullptr);

    const QString file = Write(QStringLiteral("mine.xml"), ValidParameterFile());
    m_Application->LoadParamsAsked(ConverterIndex("TST"), file);
    CParameters* mine = Working();
    ASSERT_NE(mine, nullptr);
    EXPECT_NE(mine, defaults);
    // A successful load says nothing, though the language file has a text that could announce it.
    EXPECT_TRUE(m_Prompt.mShown.empty());
    EXPECT_EQ(Text("id_loaded_successfully").arg(file), QStringLiteral("The parameter file %1 was loaded.").arg(file));

    // A file that fails keeps the set in use. The box's first line says whether the file could be read at all, the
    // next why, as a sentence; the log has the same lines, as the command line has them.
    const QString broken = Write(QStringLiteral("broken.xml"), "<PARAMETERS>");
    QDir().mkpath(In(QStringLiteral("folder.xml")));
    const struct
    {
        QString file;
        const char *firstLine, *reasonLine;
    } refusals[] = {
        {broken, "id_param_loaded_failed", "Reason: it is not a well-formed XML file."},
        {In(QStringLiteral("folder.xml")), "id_param_read_failed", "Reason: it is a folder."},
        {In(QStringLiteral("none.xml")), "id_param_read_failed", "Reason: No such file or directory."},
    };
    for (const auto& refused : refusals) {
        m_Prompt.mShown.clear();
        NewLog();
        m_Application->LoadParamsAsked(ConverterIndex("TST"), refused.file);
        EXPECT_EQ(Working(), mine);
        const QString lines = Text(refused.firstLine).arg(refused.file) + LF + QString::fromLatin1(refused.reasonLine);
        EXPECT_EQ(m_Prompt.Messages(), OneMessage(Text("id_warning"), lines));
        EXPECT_EQ(NewLog(), lines + LF);
    }

    // Back to the defaults, every value at its declared value.
    defaults->GetIntParameter(QStringLiteral("Level"))->mValue = 8;
    m_Application->LoadDefaultParamsAsked(ConverterIndex("TST"));
    EXPECT_EQ(Working(), defaults);
    EXPECT_EQ(Level(defaults), 3);
    EXPECT_EQ(m_Record->GetUserParameters(), nullptr);
}

TEST_F(ParameterSlotTest, TranslatorsHaveTheirOwnFilesAndSeeTheSourceDocument)
{
    CPluginClass* translator = m_Application->GetTraductorList(nullptr).at(0);
    const QString file = Write(QStringLiteral("sms.xml"), ValidParameterFile());
    m_Application->LoadTraductorParamsAsked(0, file);
    ASSERT_NE(translator->GetUserParameters(), nullptr);
    CParameters* parameters = nullptr;
    QString source = Write(QStringLiteral("cards/card.ecd"), "bytes");
    m_Application->GetTraductorParameters(0, &parameters, source);
    EXPECT_EQ(parameters, translator->GetUserParameters());
    m_Application->LoadDefaultTraductorParamsAsked(0);
    EXPECT_EQ(translator->GetUserParameters(), nullptr);
    // The default set is fitted to the source, imported from its own folder.
    m_Application->GetTraductorParameters(0, &parameters, source);
    EXPECT_EQ(parameters, translator->GetDefaultParameters());
    EXPECT_EQ(QDir::currentPath(), In(QStringLiteral("cards")));

    m_Application->LoadTraductorParamsAsked(0, In(QStringLiteral("missing.xml")));
    EXPECT_EQ(m_Prompt.mShown.size(), 1u);
}

TEST_F(ParameterSlotTest, SavingASetReportsAFailure)
{
    const QString file = In(QStringLiteral("saved.xml"));
    m_Application->SaveParamsAsked(file, Working());
    EXPECT_TRUE(m_Prompt.mShown.empty());
    CParameters reread;
    EXPECT_TRUE(reread.Load(file));

    // The box and the log say why, and a file cut by the disk never takes the place of the saved one.
    const QString unwritable = In(QStringLiteral("no/folder/saved.xml"));
    NewLog();
    m_Application->SaveParamsAsked(unwritable, Working());
    ASSERT_EQ(m_Prompt.mShown.size(), 1u);
    const QString why =
        Text("id_param_saved_failed").arg(unwritable) + QStringLiteral("\nReason: No such file or directory.");
    EXPECT_EQ(m_Prompt.mShown[0].text, why);
    EXPECT_EQ(NewLog(), why + LF);
}

TEST_F(ParameterSlotTest, IndexesOutsideTheListsChangeNothing)
{
    CParameters* parameters = reinterpret_cast<CParameters*>(1);
    m_Application->GetConverterParameters(99, &parameters);
    EXPECT_EQ(parameters, reinterpret_cast<CParameters*>(1));
    QString source;
    m_Application->GetTraductorParameters(5, &parameters, source);
    EXPECT_EQ(parameters, reinterpret_cast<CParameters*>(1));
    EXPECT_TRUE(m_Prompt.mShown.empty());

    // The parameter-file requests change no set and end with a warning each.
    const QString file = Write(QStringLiteral("p.xml"), ValidParameterFile());
    m_Application->LoadParamsAsked(-1, file);
    m_Application->LoadDefaultParamsAsked(42);
    m_Application->LoadTraductorParamsAsked(1, file);
    m_Application->LoadDefaultTraductorParamsAsked(-3);
    for (CPluginClass* record : m_Application->GetEntireList(nullptr))
        EXPECT_EQ(record->GetUserParameters(), nullptr);
    for (const CScriptedPrompt::Shown& shown : m_Prompt.mShown)
        EXPECT_EQ(shown.kind, 0);
    const QString failed = OneMessage(Text("id_warning"), Text("id_param_loaded_failed").arg(file)).at(0);
    const QString unavailable = OneMessage(Text("id_warning"), Text("id_converter_unavailable")).at(0);
    EXPECT_EQ(m_Prompt.Messages(), (QStringList{failed, unavailable, failed, unavailable}));
    QString extension = QStringLiteral("unchanged");
    m_Application->GetExportExtensionForConverter(extension, 42);
    m_Application->GetExportExtensionForTranslator(extension, 1);
    EXPECT_EQ(extension, QStringLiteral("unchanged"));
    m_Application->GetExportExtensionForConverter(extension, ConverterIndex("TAX"));
    EXPECT_EQ(extension, QStringLiteral("TAX"));
    m_Application->GetExportExtensionForTranslator(extension, 0);
    EXPECT_EQ(extension, QStringLiteral("TST_SMS"));
}

} // namespace
