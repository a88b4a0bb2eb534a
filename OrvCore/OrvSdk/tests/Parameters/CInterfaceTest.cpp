#include "ParameterTestUtil.h"
#include "Parameters/CParameters.h"

#include <gtest/gtest.h>

using namespace ParameterTest;

namespace {
const QByteArray kData = "<DATA NAME=\"Tempo\" TYPE=\"int\" VALUE=\"63\"/>"
                         "<DATA NAME=\"Debug\" TYPE=\"bool\" VALUE=\"false\"/>"
                         "<VECTOR NAME=\"Piano\"><DATA NAME=\"Keep0\" TYPE=\"bool\" VALUE=\"true\"/></VECTOR>"
                         "<VECTOR NAME=\"Guitar\"><DATA NAME=\"Keep1\" TYPE=\"bool\" VALUE=\"true\"/></VECTOR>";

class Interface : public ::testing::Test
{
protected:
    bool LoadInterface(const QByteArray& isection) { return mSet.Load(mFiles.Write(WithParameters(kData, isection))); }
    TempFiles mFiles;
    CParameters mSet;
};
} // namespace

TEST(InterfaceControls, NamesAreExactAndCaseSensitive)
{
    EXPECT_EQ(CInterfaceInput::ControlTypeFromName(S("LABEL")), 0);
    EXPECT_EQ(CInterfaceInput::ControlTypeFromName(S("EDITBOX")), 1);
    EXPECT_EQ(CInterfaceInput::ControlTypeFromName(S("CHECKBOX")), 2);
    EXPECT_EQ(CInterfaceInput::ControlTypeFromName(S("LISTBOX")), 3);
    EXPECT_EQ(CInterfaceInput::ControlTypeFromName(S("COMBOBOX")), 4);
    EXPECT_EQ(CInterfaceInput::ControlTypeFromName(S("ListBox")), -1);
    EXPECT_EQ(CInterfaceInput::ControlTypeFromName(QString()), -1);
}

TEST(InterfaceFixture, NodesInFileOrderWithTheirFields)
{
    CParameters set;
    ASSERT_TRUE(set.Load(FixturePath("Converter.xml")));
    const QList<CInterfaceNode*>& nodes = set.GetInterfaceNodes();
    ASSERT_EQ(nodes.size(), 5);
    EXPECT_EQ(nodes.at(0)->GetKind(), CInterfaceNode::INPUT);
    EXPECT_EQ(nodes.at(1)->GetKind(), CInterfaceNode::GROUP);
    EXPECT_EQ(nodes.at(2)->GetKind(), CInterfaceNode::TABLE);
    EXPECT_EQ(nodes.at(3)->GetKind(), CInterfaceNode::INPUT);
    EXPECT_EQ(nodes.at(4)->GetKind(), CInterfaceNode::INPUT);

    auto* tempo = static_cast<CInterfaceInput*>(nodes.at(0));
    EXPECT_EQ(tempo->mControlType, CInterfaceInput::EDITBOX);
    EXPECT_EQ(tempo->mpParameter, set.GetParameter(S("Tempo")));
    EXPECT_EQ(tempo->mCaption, S("Tempo"));
    EXPECT_TRUE(tempo->mPrefix.isNull());
    EXPECT_EQ(tempo->mSuffix, S("bpm"));

    // The TABLE inside the group is ignored, even with a REF that names nothing.
    auto* group = static_cast<CInterfaceGroup*>(nodes.at(1));
    EXPECT_EQ(group->mCaption, S("Debugging"));
    EXPECT_EQ(group->mControl, S("GenerateDebugFiles"));
    ASSERT_EQ(group->mInputs.size(), 2);
    auto* title = static_cast<CInterfaceInput*>(group->mInputs.at(1));
    EXPECT_EQ(title->mpParameter, set.GetParameter(S("Title")));
    EXPECT_EQ(title->mControlType, CInterfaceInput::LABEL);
    EXPECT_TRUE(title->mCaption.isNull());
    EXPECT_TRUE(title->mPrefix.isEmpty());
    EXPECT_FALSE(title->mPrefix.isNull());

    auto* table = static_cast<CInterfaceTable*>(nodes.at(2));
    EXPECT_EQ(table->mCaption, S("Instruments"));
    EXPECT_FALSE(table->mNotVertical);
    EXPECT_FALSE(table->mWithDefButton);
    EXPECT_TRUE(table->mSortable);
    EXPECT_EQ(table->mRowCaptions, QStringList({S("Keep"), S("Volume")}));
    EXPECT_EQ(table->mColumnCaptions, QStringList({S("Piano"), S("Guitar")}));
    ASSERT_EQ(table->mVectors.size(), 2);
    EXPECT_EQ(table->mVectors.at(0), set.GetVector(S("Piano")));
    EXPECT_EQ(table->mVectors.at(1), set.GetVector(S("Guitar")));

    // An input may show a parameter inside a vector.
    auto* volume = static_cast<CInterfaceInput*>(nodes.at(3));
    EXPECT_EQ(volume->mControlType, CInterfaceInput::LISTBOX);
    EXPECT_EQ(volume->mpParameter, set.GetParameter(S("Volume1")));
}

TEST_F(Interface, EmptyIsectionGivesNoNodes)
{
    ASSERT_TRUE(LoadInterface("<ISECTION>  <!-- nothing --> </ISECTION>"));
    EXPECT_TRUE(mSet.GetInterfaceNodes().isEmpty());
    EXPECT_FALSE(mSet.IsEmpty());
}

TEST_F(Interface, TableFlagsAndCaptions)
{
    ASSERT_TRUE(LoadInterface(
        "<ISECTION><TABLE VERTICAL=\"no\" WITHDEFBUTTON=\"yes\" ALLOWSORT=\"Yes\">"
        "<CAPTIONS ROWSCAPTIONS=\"a_b__c\" COLUMNSCAPTIONS=\"\"/>"
        "<ROWORCOLUMN REF=\"Guitar\"/></TABLE>"
        "<TABLE VERTICAL=\"maybe\" WITHDEFBUTTON=\"\" ALLOWSORT=\"yes\"><ROWORCOLUMN REF=\"Piano\"/></TABLE>"
        "</ISECTION>"));
    ASSERT_EQ(mSet.GetInterfaceNodes().size(), 2);
    auto* first = static_cast<CInterfaceTable*>(mSet.GetInterfaceNodes().at(0));
    EXPECT_TRUE(first->mNotVertical);
    EXPECT_TRUE(first->mWithDefButton);
    EXPECT_FALSE(first->mSortable);
    EXPECT_TRUE(first->mCaption.isNull());
    EXPECT_EQ(first->mRowCaptions, QStringList({S("a"), S("b"), S("c")}));
    EXPECT_TRUE(first->mColumnCaptions.isEmpty());
    EXPECT_EQ(first->mVectors.at(0)->GetName(), S("Guitar"));

    auto* second = static_cast<CInterfaceTable*>(mSet.GetInterfaceNodes().at(1));
    EXPECT_FALSE(second->mNotVertical);
    EXPECT_FALSE(second->mWithDefButton);
    EXPECT_TRUE(second->mSortable);
    EXPECT_TRUE(second->mRowCaptions.isEmpty());
}

TEST_F(Interface, MalformedDescriptionsFailTheLoad)
{
    struct Case
    {
        const char* what;
        const char* isection;
    };
    const Case cases[] = {
        {"INPUT without REF", "<INPUT TYPE=\"EDITBOX\"/>"},
        {"INPUT with unknown REF", "<INPUT REF=\"Nothing\" TYPE=\"EDITBOX\"/>"},
        {"INPUT without TYPE", "<INPUT REF=\"Tempo\"/>"},
        {"INPUT with mixed-case TYPE", "<INPUT REF=\"Tempo\" TYPE=\"ListBox\"/>"},
        {"INPUT whose REF names a vector", "<INPUT REF=\"Piano\" TYPE=\"LABEL\"/>"},
        {"GROUP without INPUT", "<GROUP CAPTION=\"x\"><TABLE/></GROUP>"},
        {"GROUP with a bad INPUT",
         "<GROUP><INPUT REF=\"Tempo\" TYPE=\"LABEL\"/><INPUT REF=\"Nothing\" TYPE=\"LABEL\"/></GROUP>"},
        {"TABLE without VERTICAL", "<TABLE WITHDEFBUTTON=\"no\" ALLOWSORT=\"no\"><ROWORCOLUMN REF=\"Piano\"/></TABLE>"},
        {"TABLE without WITHDEFBUTTON", "<TABLE VERTICAL=\"no\" ALLOWSORT=\"no\"><ROWORCOLUMN REF=\"Piano\"/></TABLE>"},
        {"TABLE without ALLOWSORT", "<TABLE VERTICAL=\"no\" WITHDEFBUTTON=\"no\"><ROWORCOLUMN REF=\"Piano\"/></TABLE>"},
        {"TABLE without ROWORCOLUMN", "<TABLE VERTICAL=\"no\" WITHDEFBUTTON=\"no\" ALLOWSORT=\"no\"/>"},
        {"ROWORCOLUMN without REF",
         "<TABLE VERTICAL=\"no\" WITHDEFBUTTON=\"no\" ALLOWSORT=\"no\"><ROWORCOLUMN/></TABLE>"},
        {"ROWORCOLUMN naming a DATA",
         "<TABLE VERTICAL=\"no\" WITHDEFBUTTON=\"no\" ALLOWSORT=\"no\"><ROWORCOLUMN REF=\"Tempo\"/></TABLE>"},
        {"CAPTIONS without ROWSCAPTIONS",
         "<TABLE VERTICAL=\"no\" WITHDEFBUTTON=\"no\" ALLOWSORT=\"no\"><CAPTIONS COLUMNSCAPTIONS=\"a\"/>"
         "<ROWORCOLUMN REF=\"Piano\"/></TABLE>"},
        {"CAPTIONS without COLUMNSCAPTIONS",
         "<TABLE VERTICAL=\"no\" WITHDEFBUTTON=\"no\" ALLOWSORT=\"no\"><CAPTIONS ROWSCAPTIONS=\"a\"/>"
         "<ROWORCOLUMN REF=\"Piano\"/></TABLE>"},
        {"a good node before a bad one", "<INPUT REF=\"Tempo\" TYPE=\"LABEL\"/><BUTTON/>"},
    };
    for (const Case& c : cases) {
        const QByteArray isection = QByteArray("<ISECTION>") + c.isection + "</ISECTION>";
        EXPECT_FALSE(LoadInterface(isection)) << c.what;
    }
}
