// Pictures and animations that do not fit the converter or the phone go through the resize dialogs before a
// conversion, and the loaded document is the source again afterwards.
#include "Documents/CDocumentAbstract.h"
#include "Documents/CDocumentAnimation.h"
#include "Documents/CDocumentPicture.h"
#include "EngineTestSupport.h"
#include "QtPrinters.h"
#include <gtest/gtest.h>

namespace {

class ResizeTest : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        Start();
    }
};

TEST_F(ResizeTest, APictureThatFitsConvertsWithoutADialog)
{
    // The phone takes 101 x 80 at most, limits included.
    EXPECT_EQ(LoadAndConvert("fits.tpi", "101 80", "TPX"), "101x80");
    EXPECT_TRUE(m_Resizer.mRequests.empty());
}

TEST_F(ResizeTest, APictureTooLargeForThePhoneIsResizedAndRestored)
{
    for (const char* size : {"102 80", "101 81", "32 20"}) {
        m_Resizer.mRequests.clear();
        // 32 pixels wide is too large for nothing but the converter.
        EXPECT_EQ(LoadAndConvert("big.tpi", size, "TPX"), "40x30") << size;
        ASSERT_EQ(m_Resizer.mRequests.size(), 1u) << size;
        const CResizeRequest& request = m_Resizer.mRequests[0];
        EXPECT_EQ(request.mCaption, Text("id_picture_toobig"));
        EXPECT_EQ(request.mFormat, QStringLiteral("TPX"));
        // Cropping offers only the proposed sizes the converter writes; scaling offers them all.
        EXPECT_EQ(request.mCropSizes, (QList<QSize>{QSize(64, 64), QSize(101, 80)}));
        EXPECT_EQ(request.mScaleSizes, (QList<QSize>{QSize(64, 64), QSize(101, 80), QSize(32, 32)}));
        ASSERT_NE(Loaded(), nullptr);
        const QStringList words = QString::fromLatin1(size).split(QLatin1Char(' '));
        EXPECT_EQ(static_cast<CDocumentPicture*>(Loaded())->GetImage().size(),
                  QSize(words.at(0).toInt(), words.at(1).toInt()));
    }
    // The resize option is for animations only.
    m_Application->SetResizeOption(1);
    m_Resizer.mRequests.clear();
    EXPECT_EQ(LoadAndConvert("fits.tpi", "20 20", "TPX"), "20x20");
    EXPECT_TRUE(m_Resizer.mRequests.empty());
}

TEST_F(ResizeTest, ARefusedResizeConvertsNothing)
{
    m_Resizer.mAccept = false;
    NewLog();
    EXPECT_EQ(LoadAndConvert("big.tpi", "200 10", "TPX"), "<none>");
    EXPECT_EQ(m_Window.mCalls, (QStringList{QStringLiteral("converted 0"), QStringLiteral("init")}));
    EXPECT_EQ(NewLog().count(Text("id_convertion_success")), 0);
    EXPECT_EQ(static_cast<CDocumentPicture*>(Loaded())->GetImage().size(), QSize(200, 10));
    EXPECT_TRUE(m_Prompt.mShown.empty());

    // Without a way to show the dialog the resize counts as refused.
    m_Application->GetEngineState().mpResizeAsker = nullptr;
    m_Window.mCalls.clear();
    EXPECT_EQ(LoadAndConvert("big.tpi", "200 10", "TPX"), "<none>");
    EXPECT_EQ(m_Window.mCalls, (QStringList{QStringLiteral("converted 0"), QStringLiteral("init")}));
}

TEST_F(ResizeTest, AnAnimationWithTooManyFramesKeepsTheChosenOnesAndIsRestored)
{
    // Ten frames of 20 x 20 where the phone shows eight.
    EXPECT_EQ(LoadAndConvert("long.tan", "20 20 10", "TAX"), "3:40x30@10,11,12");
    ASSERT_EQ(m_Resizer.mRequests.size(), 1u);
    EXPECT_EQ(m_Resizer.mRequests[0].mCaption, Text("id_animated_gif"));
    EXPECT_EQ(m_Resizer.mRequests[0].mFormat, QStringLiteral("TAX"));
    EXPECT_EQ(m_Resizer.mMaxFrameCounts, QList<int>{8});

    auto* animation = static_cast<CDocumentAnimation*>(Loaded());
    ASSERT_EQ(animation->GetAnimationFrameCount(), 10);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(animation->GetFrame(i)->GetImage().size(), QSize(20, 20)) << i;
        EXPECT_EQ(animation->GetFrame(i)->GetDisplayTime(), 100 * (i + 1)) << i;
        EXPECT_EQ(animation->GetFrame(i)->GetImage().pixel(0, 0), qRgb(i * 3, 255 - i * 3, 40)) << i;
    }
}

TEST_F(ResizeTest, AnAnimationIsOfferedTheDialogWhenAnyFrameDoesNotFitOrTheOptionIsSet)
{
    EXPECT_EQ(LoadAndConvert("fits.tan", "20 20 8", "TAX"), "8:20x20@100,200,300,400,500,600,700,800");
    EXPECT_TRUE(m_Resizer.mRequests.empty());

    EXPECT_EQ(LoadAndConvert("wide.tan", "102 20 2", "TAX"), "2:40x30@10,11");
    EXPECT_EQ(m_Resizer.mRequests.size(), 1u);

    // Keeping more frames than the source has keeps them all.
    m_Resizer.mKeptFrames = 20;
    m_Application->SetResizeOption(1);
    EXPECT_EQ(LoadAndConvert("fits.tan", "20 20 4", "TAX"), "4:40x30@10,11,12,13");
    EXPECT_EQ(m_Resizer.mRequests.size(), 2u);
    auto* animation = static_cast<CDocumentAnimation*>(Loaded());
    ASSERT_EQ(animation->GetAnimationFrameCount(), 4);
    EXPECT_EQ(animation->GetFrame(3)->GetDisplayTime(), 400);
    EXPECT_EQ(animation->GetFrame(3)->GetImage().size(), QSize(20, 20));
}

} // namespace
