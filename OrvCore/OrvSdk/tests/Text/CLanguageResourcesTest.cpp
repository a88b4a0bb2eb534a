#include "Text/CLanguageResources.h"
#include "tests/SdkTestSupport.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {
QString S(const char* text) { return QString::fromUtf8(text); }

QString Fixture()
{
    return S(ORV_SOURCE_DIR) + S("/OrvCore/OrvSdk/tests/Text/fixtures/Language.xml");
}

class LanguageResources : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CLanguageResources::SetResourceFolder(QString());
        ASSERT_TRUE(CLanguageResources::Load(Fixture()));
    }
    void TearDown() override
    {
        CLanguageResources::Load(QString());
        CLanguageResources::SetResourceFolder(QString());
    }
};
} // namespace

TEST(LanguageResourcesUnloaded, LookupsGiveEmptyTexts)
{
    EXPECT_FALSE(CLanguageResources::Load(QString()));
    EXPECT_TRUE(CLanguageResources::GetMessage(S("CFirst"), S("id_hello")).isEmpty());
    EXPECT_TRUE(CLanguageResources::GetPicture(S("CFirst"), S("id_hello")).isEmpty());
    EXPECT_TRUE(CLanguageResources::GetSound(S("CFirst"), S("id_ring")).isEmpty());
}

TEST(LanguageResourcesUnloaded, FailedLoadReleasesThePreviousFile)
{
    ASSERT_TRUE(CLanguageResources::Load(Fixture()));
    ASSERT_EQ(CLanguageResources::GetMessage(S("CFirst"), S("id_hello")), S("Hello"));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(WriteFileBytes(dir.filePath(S("Broken.xml")), "<Language><class name=\"CFirst\">"));
    EXPECT_FALSE(CLanguageResources::Load(dir.filePath(S("Broken.xml"))));
    EXPECT_TRUE(CLanguageResources::GetMessage(S("CFirst"), S("id_hello")).isEmpty());
}

TEST_F(LanguageResources, MessagesByClassAndId)
{
    struct Case { const char* className; const char* id; const char* expected; };
    const Case cases[] = {
        {"CFirst", "id_hello", "Hello"},                       // the first matching item wins
        {"CFirst", "id_no_value", "Found after a value-less item"},
        {"CFirst", "id_only_in_twin", ""},                     // the first class of a name wins
        {"CFirst", "id_only_in_second_section", ""},           // only the first section is read
        {"CSecond", "id_hello", "Hello from the second class"},
        {"csecond", "id_hello", ""},                           // class names are case-sensitive
        {"CFirst", "ID_HELLO", ""},
        {"CThird", "id_hello", ""},                            // only "class" elements count
        {"CMissing", "id_hello", ""},
        {"", "id_nameless", ""},
        {"CFirst", "id_ring", ""},                             // sounds are not messages
    };
    for (const Case& c : cases)
        EXPECT_EQ(CLanguageResources::GetMessage(S(c.className), S(c.id)), S(c.expected))
            << c.className << " " << c.id;
}

TEST_F(LanguageResources, EmptyValueIsFound)
{
    const QString text = CLanguageResources::GetMessage(S("CFirst"), S("id_empty"));
    EXPECT_TRUE(text.isEmpty());
}

TEST_F(LanguageResources, SameIdInMessageAndPictureSections)
{
    EXPECT_EQ(CLanguageResources::GetMessage(S("CFirst"), S("id_hello")), S("Hello"));
    EXPECT_EQ(CLanguageResources::GetPicture(S("CFirst"), S("id_hello")), S("hello.png"));
}

TEST_F(LanguageResources, ResourceFolderPrefixesPicturesAndSoundsOnly)
{
    // A plug-in leaves the folder empty and gets the file names as they stand.
    EXPECT_EQ(CLanguageResources::GetSound(S("CFirst"), S("id_ring")), S("ring.wav"));
    EXPECT_TRUE(CLanguageResources::GetSound(S("CFirst"), S("id_wrong_tag")).isEmpty());

    CLanguageResources::SetResourceFolder(S("/app/Languages/resources/"));
    EXPECT_EQ(CLanguageResources::GetResourceFolder(), S("/app/Languages/resources/"));
    EXPECT_EQ(CLanguageResources::GetPicture(S("CFirst"), S("id_hello")),
              S("/app/Languages/resources/hello.png"));
    EXPECT_EQ(CLanguageResources::GetSound(S("CFirst"), S("id_ring")),
              S("/app/Languages/resources/ring.wav"));
    EXPECT_EQ(CLanguageResources::GetMessage(S("CFirst"), S("id_hello")), S("Hello"));
    // Nothing found: no folder either.
    EXPECT_TRUE(CLanguageResources::GetPicture(S("CFirst"), S("id_missing")).isEmpty());
}

TEST(LanguageResourcesAuthored, ApplicationLanguageFileLoads)
{
    const QString path = S(ORV_SOURCE_DIR) + S("/data/app/Languages/English.xml");
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_TRUE(CLanguageResources::Load(path));
    CLanguageResources::Load(QString());
}
