// The authored default parameter file: every parameter the converter reads,
// with its type, value and limits, and an interface that shows them all.
#include "TunraTestSupport.h"

#include "Parameters/CInterfaceNode.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace TunraTest;

TEST(TunraParameterFile, HoldsEveryParameterTheConverterReads)
{
    CParameters parameters;
    ASSERT_TRUE(parameters.Load(ParameterFilePath()));

    struct Int
    {
        const char* name;
        int value, min, max;
    };
    for (const Int& t : {Int{"Tempo", 120, 25, 900}, Int{"Volume", 7, 0, 15}, Int{"SMSPaquetCount", 1, 1, 10}}) {
        SCOPED_TRACE(t.name);
        const CIntParameter* p = parameters.GetIntParameter(QString::fromLatin1(t.name));
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->mValue, t.value);
        EXPECT_EQ(p->mMin, t.min);
        EXPECT_EQ(p->mMax, t.max);
        EXPECT_FALSE(p->mIsConst);
    }
    struct Bool
    {
        const char* name;
        bool value;
    };
    for (const Bool& t :
         {Bool{"GenerateHeader", true}, Bool{"GenerateHeaderVersion", true}, Bool{"GenerateHeaderFormat", true},
          Bool{"GenerateHeaderName", true}, Bool{"GenerateHeaderBeat", true}, Bool{"GenerateHeaderStyle", true},
          Bool{"GenerateHeaderVolume", true}, Bool{"SMSPaquet", false}, Bool{"GenerateDebugFiles", false}}) {
        SCOPED_TRACE(t.name);
        const CBoolParameter* p = parameters.GetBoolParameter(QString::fromLatin1(t.name));
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->mValue, t.value);
    }
    const CEnumParameter* style = parameters.GetEnumParameter(QStringLiteral("Style"));
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(style->GetValue(), QStringLiteral("Natural"));
    EXPECT_EQ(style->GetEnumType()->GetDeclaredValues(),
              (QStringList{QStringLiteral("Natural"), QStringLiteral("Continuous"), QStringLiteral("Staccato")}));
    EXPECT_EQ(parameters.GetParameterMap().size(), 13);
}

TEST(TunraParameterFile, InterfaceShowsEveryParameterOnce)
{
    CParameters parameters;
    ASSERT_TRUE(parameters.Load(ParameterFilePath()));
    QList<const CInterfaceInput*> inputs;
    for (const CInterfaceNode* node : parameters.GetInterfaceNodes()) {
        if (node->GetKind() == CInterfaceNode::INPUT)
            inputs << static_cast<const CInterfaceInput*>(node);
        else if (node->GetKind() == CInterfaceNode::GROUP)
            for (const CInterfaceNode* child : static_cast<const CInterfaceGroup*>(node)->mInputs)
                inputs << static_cast<const CInterfaceInput*>(child);
    }
    QSet<const CParameter*> shown;
    for (const CInterfaceInput* input : inputs) {
        ASSERT_NE(input->mpParameter, nullptr);
        EXPECT_FALSE(input->mCaption.isEmpty());
        shown.insert(input->mpParameter);
    }
    EXPECT_EQ(shown.size(), inputs.size());
    EXPECT_EQ(shown.size(), parameters.GetParameterMap().size());
}
