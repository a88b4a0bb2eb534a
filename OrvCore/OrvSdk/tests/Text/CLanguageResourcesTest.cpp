#include "Text/CLanguageResources.h"
#include "tests/SdkTestSupport.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QString S(const char* text)
{
    return QString::fromUtf8(text);
}

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
    struct Case
    {
        const char* className;
        const char* id;
        const char* expected;
    };
    const Case cases[] = {
        {"CFirst", "id_hello", "Hello"}, // the first matching item wins
        {"CFirst", "id_no_value", "Found after a value-less item"},
        {"CFirst", "id_only_in_twin", ""},           // the first class of a name wins
        {"CFirst", "id_only_in_second_section", ""}, // only the first section is read
        {"CSecond", "id_hello", "Hello from the second class"},
        {"csecond", "id_hello", ""}, // class names are case-sensitive
        {"CFirst", "ID_HELLO", ""},
        {"CThird", "id_hello", ""}, // only "class" elements count
        {"CMissing", "id_hello", ""},
        {"", "id_nameless", ""},
        {"CFirst", "id_ring", ""}, // sounds are not messages
    };
    for (const Case& c : cases)
        EXPECT_EQ(CLanguageResources::GetMessage(S(c.className), S(c.id)), S(c.expected)) << c.className << " " << c.id;
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
    EXPECT_EQ(CLanguageResources::GetPicture(S("CFirst"), S("id_hello")), S("/app/Languages/resources/hello.png"));
    EXPECT_EQ(CLanguageResources::GetSound(S("CFirst"), S("id_ring")), S("/app/Languages/resources/ring.wav"));
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

namespace {
struct TextKey
{
    QString className, section, id;
};

// Every (class, section, id) the file names, read straight from its elements.
QList<TextKey> EveryTextOf(const QString& path)
{
    QFile file(path);
    QDomDocument document;
    QList<TextKey> keys;
    if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file))
        return keys;
    for (QDomElement c = document.documentElement().firstChildElement(S("class")); !c.isNull();
         c = c.nextSiblingElement(S("class"))) {
        for (QDomElement section = c.firstChildElement(); !section.isNull(); section = section.nextSiblingElement()) {
            for (QDomElement item = section.firstChildElement(); !item.isNull(); item = item.nextSiblingElement())
                keys.append({c.attribute(S("name")), section.tagName(), item.attribute(S("id"))});
        }
    }
    return keys;
}

// What a walk over the document finds: the first class of the name, its first
// section of the tag, the first item of the tag and id that has a value.
QString WalkFor(const QString& path, const TextKey& key, const QString& itemTag)
{
    QFile file(path);
    QDomDocument document;
    if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file))
        return QString();
    QDomElement c = document.documentElement().firstChildElement(S("class"));
    while (!c.isNull() && !(c.hasAttribute(S("name")) && c.attribute(S("name")) == key.className))
        c = c.nextSiblingElement(S("class"));
    const QDomElement section = c.firstChildElement(key.section);
    for (QDomElement item = section.firstChildElement(itemTag); !item.isNull();
         item = item.nextSiblingElement(itemTag)) {
        if (item.hasAttribute(S("id")) && item.attribute(S("id")) == key.id && item.hasAttribute(S("value")))
            return item.attribute(S("value"));
    }
    return QString();
}

QString Lookup(const TextKey& key)
{
    if (key.section == S("picture"))
        return CLanguageResources::GetPicture(key.className, key.id);
    if (key.section == S("sound"))
        return CLanguageResources::GetSound(key.className, key.id);
    return CLanguageResources::GetMessage(key.className, key.id);
}
} // namespace

// Every text of both files, looked up after a full load and after a load on
// first use, is what a walk over the document finds.
TEST(LanguageResourcesOnFirstUse, EveryTextAsAWalkOverTheDocumentFindsIt)
{
    const QHash<QString, QString> itemTags = {
        {S("message"), S("string")}, {S("picture"), S("image")}, {S("sound"), S("wave")}};
    CLanguageResources::SetResourceFolder(QString());
    for (const QString& path : {Fixture(), S(ORV_SOURCE_DIR) + S("/data/app/Languages/English.xml")}) {
        const QList<TextKey> keys = EveryTextOf(path);
        ASSERT_FALSE(keys.isEmpty()) << qPrintable(path);
        QStringList walked;
        for (const TextKey& key : keys)
            walked.append(WalkFor(path, key, itemTags.value(key.section)));
        for (const bool onFirstUse : {false, true}) {
            ASSERT_TRUE(onFirstUse ? CLanguageResources::LoadOnFirstUse(path) : CLanguageResources::Load(path));
            for (int i = 0; i < keys.size(); ++i) {
                const QString found = Lookup(keys.at(i));
                EXPECT_EQ(found, walked.at(i)) << qPrintable(keys.at(i).className + S(" ") + keys.at(i).id);
                EXPECT_EQ(found.isNull(), walked.at(i).isNull());
            }
        }
    }
    CLanguageResources::Load(QString());
}

// Two application objects in one process, the file rewritten between them:
// the second gets the new texts; a file that went away gives none.
TEST(LanguageResourcesOnFirstUse, AChangedFileIsReadAgain)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(S("English.xml"));
    const auto write = [&](const char* text) {
        return WriteFileBytes(path,
                              QByteArray("<Language><class name=\"CFirst\"><message><string id=\"id_hello\" value=\"")
                                  + text + "\"/></message></class></Language>");
    };
    ASSERT_TRUE(write("Hello"));
    ASSERT_TRUE(CLanguageResources::LoadOnFirstUse(path));
    EXPECT_EQ(CLanguageResources::GetMessage(S("CFirst"), S("id_hello")), S("Hello"));
    ASSERT_TRUE(CLanguageResources::LoadOnFirstUse(path));
    EXPECT_EQ(CLanguageResources::GetMessage(S("CFirst"), S("id_hello")), S("Hello"));

    ASSERT_TRUE(write("Good morning"));
    ASSERT_TRUE(CLanguageResources::LoadOnFirstUse(path));
    EXPECT_EQ(CLanguageResources::GetMessage(S("CFirst"), S("id_hello")), S("Good morning"));

    ASSERT_TRUE(write("<broken"));
    ASSERT_TRUE(CLanguageResources::LoadOnFirstUse(path));
    EXPECT_TRUE(CLanguageResources::GetMessage(S("CFirst"), S("id_hello")).isEmpty());

    ASSERT_TRUE(QFile::remove(path));
    EXPECT_FALSE(CLanguageResources::LoadOnFirstUse(path));
    EXPECT_FALSE(CLanguageResources::LoadOnFirstUse(QString()));
    EXPECT_FALSE(CLanguageResources::LoadOnFirstUse(dir.path()));
    EXPECT_TRUE(CLanguageResources::GetMessage(S("CFirst"), S("id_hello")).isEmpty());
}
