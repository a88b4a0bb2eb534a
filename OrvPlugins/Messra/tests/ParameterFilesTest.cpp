// The translators' authored parameter files hold every parameter they read,
// with the type the translators read it as and its default.
#include "CMessra.h"
#include "CTranslatorTDD.h"
#include "MessraTestSupport.h"

#include <gtest/gtest.h>

using namespace MessraTest;

TEST(ParameterFiles, EveryParameterTheTranslatorsRead)
{
    CMessra ems;
    const auto emsParameters = LoadAuthoredParameters(ems.GetParametersFileName().toLatin1().constData());
    EXPECT_EQ(emsParameters->GetParameterMap().size(), 2);
    for (const char* name : {"TruncateMelody", "ODICopyright"}) {
        const CBoolParameter* parameter = emsParameters->GetBoolParameter(QString::fromLatin1(name));
        ASSERT_NE(parameter, nullptr) << name;
        EXPECT_FALSE(parameter->mValue) << name;
    }

    CTranslatorTDD tdd;
    const auto tddParameters = LoadAuthoredParameters(tdd.GetParametersFileName().toLatin1().constData());
    EXPECT_EQ(tddParameters->GetParameterMap().size(), 4);
    struct Flag
    {
        const char* name;
        bool value;
    };
    for (const Flag& flag : {Flag{"Copyrighted", false}, Flag{"EncodeName", true}, Flag{"TruncateMelody", false}}) {
        const CBoolParameter* parameter = tddParameters->GetBoolParameter(QString::fromLatin1(flag.name));
        ASSERT_NE(parameter, nullptr) << flag.name;
        EXPECT_EQ(parameter->mValue, flag.value) << flag.name;
    }
    const CIntParameter* packets = tddParameters->GetIntParameter(QStringLiteral("SMSPaquetCount"));
    ASSERT_NE(packets, nullptr);
    EXPECT_EQ(packets->mValue, 1);
    EXPECT_EQ(packets->mMin, 1);
    EXPECT_EQ(packets->mMax, 10);
}
