#include "Core/CBatchInfo.h"
#include "Core/CGenerationInfo.h"
#include "Parameters/CParameters.h"
#include "QtPrinters.h"
#include <gtest/gtest.h>
#include <memory>

namespace {

TEST(RequestRecords, GenerationInfoLeavesItsParameterSetAlive)
{
    auto parameters = std::make_unique<CParameters>();
    auto* info = new CGenerationInfo(QStringLiteral("in.mid"), 2, parameters.get(), QStringLiteral("out/x.imy"));
    EXPECT_EQ(info->GetSourcePath(), QStringLiteral("in.mid"));
    EXPECT_EQ(info->mConverterIndex, 2);
    EXPECT_EQ(info->mpParameters, parameters.get());
    EXPECT_EQ(info->GetDestPath(), QStringLiteral("out/x.imy"));
    delete info;
    EXPECT_TRUE(parameters->IsEmpty());
}

TEST(RequestRecords, BatchListOwnsItsEntriesButNotSharedSourceLists)
{
    const QStringList sources{QStringLiteral("a.mid"), QStringLiteral("b.mid")};
    {
        CBatchInfoList list;
        list.append(new CBatchInfo(sources, 1, QString(), QStringLiteral("/out")));
        list.append(new CBatchInfo(QStringList(), 0, QStringLiteral("p.xml"), QString()));
        list.append(nullptr);
        ASSERT_EQ(list.count(), 2);
        EXPECT_EQ(list.at(0)->GetSourceFileList(), sources);
        EXPECT_EQ(list.at(0)->GetConverterIndex(), 1);
        EXPECT_TRUE(list.at(0)->GetParametersFileName().isNull());
        EXPECT_EQ(list.at(1)->GetParametersFileName(), QStringLiteral("p.xml"));
        EXPECT_EQ(list.at(0)->GetDestPath(), QStringLiteral("/out"));
        EXPECT_EQ(list.at(2), nullptr);
        EXPECT_EQ(list.at(-1), nullptr);
    }
    EXPECT_EQ(sources.size(), 2);
}

} // namespace
