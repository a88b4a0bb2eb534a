#include "Documents/CAnimationFrame.h"
#include "Documents/CDocumentAbstract.h"
#include "Documents/CDocumentAnimation.h"
#include "Documents/CDocumentPicture.h"
#include "tests/SdkTestSupport.h"

#include <QFile>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QImage Filled(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QByteArray FileHead(const QString& path, int bytes)
{
    return ReadFileBytes(path).left(bytes);
}
} // namespace

TEST(DocumentAbstract, HoldsACopyOfItsBytes)
{
    CDocumentAbstract raw;
    EXPECT_EQ(raw.GetData(), nullptr);
    EXPECT_EQ(raw.GetSize(), 0u);
    char source[] = {1, 2, 3};
    ASSERT_TRUE(raw.SetData(source, 3));
    source[0] = 9;
    EXPECT_EQ(raw.ToByteArray(), QByteArray("\x01\x02\x03", 3));
    ASSERT_TRUE(raw.Allocate(4));
    EXPECT_EQ(raw.ToByteArray(), QByteArray(4, '\0'));
    raw.Clear();
    EXPECT_EQ(raw.GetData(), nullptr);
    EXPECT_EQ(raw.GetSize(), 0u);
    EXPECT_FALSE(raw.SetData(nullptr, 2));
    EXPECT_TRUE(raw.SetData(nullptr, 0));
}

TEST(AnimationFrame, CopyOwnsItsPixels)
{
    CAnimationFrame original(Filled(4, 4, qRgb(10, 20, 30)), 250);
    CAnimationFrame copy(original);
    EXPECT_EQ(copy.GetDisplayTime(), 250);
    EXPECT_NE(copy.GetImage().constBits(), original.GetImage().constBits());
    copy.GetImage().setPixel(0, 0, qRgb(255, 0, 0));
    EXPECT_EQ(original.GetImage().pixel(0, 0), qRgb(10, 20, 30));

    CAnimationFrame assigned;
    assigned = original;
    EXPECT_EQ(assigned.GetDisplayTime(), 250);
    EXPECT_NE(assigned.GetImage().constBits(), original.GetImage().constBits());
}

TEST(DocumentAnimation, CopyIsDeepAndNameless)
{
    CDocumentAnimation source;
    source.SetName(QStringLiteral("source.gif"));
    source.AppendFrame(Filled(2, 2, qRgb(1, 1, 1)), 100);
    source.AppendFrame(new CAnimationFrame(Filled(2, 2, qRgb(2, 2, 2)), 200));
    source.AppendFrame(Filled(2, 2, qRgb(3, 3, 3)), 300);

    CDocumentAnimation copy(source);
    EXPECT_TRUE(copy.GetName().isEmpty());
    ASSERT_EQ(copy.GetAnimationFrameCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(copy.GetFrame(i)->GetDisplayTime(), 100 * (i + 1));
        EXPECT_EQ(copy.GetFrame(i)->GetImage().pixel(1, 1), qRgb(i + 1, i + 1, i + 1));
        copy.GetFrame(i)->GetImage().fill(qRgb(200, 0, 0));
        copy.GetFrame(i)->SetDisplayTime(5);
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(source.GetFrame(i)->GetImage().pixel(1, 1), qRgb(i + 1, i + 1, i + 1));
        EXPECT_EQ(source.GetFrame(i)->GetDisplayTime(), 100 * (i + 1));
    }
}

TEST(DocumentAnimation, FrameAccessOutsideTheListIsNull)
{
    CDocumentAnimation animation;
    animation.AppendFrame(nullptr);
    EXPECT_EQ(animation.GetAnimationFrameCount(), 0);
    animation.AppendFrame(QImage(), 40);
    EXPECT_NE(animation.GetFrame(0), nullptr);
    EXPECT_EQ(animation.GetFrame(1), nullptr);
    EXPECT_EQ(animation.GetFrame(-1), nullptr);
}

TEST(DocumentAnimation, RemovingFramesKeepsTheOrder)
{
    CDocumentAnimation animation;
    for (int i = 1; i <= 4; ++i)
        animation.AppendFrame(QImage(), i);
    EXPECT_TRUE(animation.RemoveFrame(1));
    EXPECT_FALSE(animation.RemoveFrame(3));
    EXPECT_FALSE(animation.RemoveFrame(-1));
    ASSERT_EQ(animation.GetAnimationFrameCount(), 3);
    EXPECT_EQ(animation.GetFrame(0)->GetDisplayTime(), 1);
    EXPECT_EQ(animation.GetFrame(1)->GetDisplayTime(), 3);
    EXPECT_EQ(animation.GetFrame(2)->GetDisplayTime(), 4);
}

TEST(DocumentAnimation, SavesAFrameAsBmpAndRefusesAMissingOne)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("frame.png"));
    CDocumentAnimation animation;
    animation.AppendFrame(Filled(3, 2, qRgb(0, 0, 255)), 100);
    animation.AppendFrame(Filled(5, 4, qRgb(0, 255, 0)), 100);
    ASSERT_TRUE(animation.SaveFrame(path, 1));
    EXPECT_EQ(FileHead(path, 2), QByteArray("BM"));
    QImage back(path, "BMP");
    EXPECT_EQ(back.size(), QSize(5, 4));
    EXPECT_EQ(back.pixel(4, 3), qRgb(0, 255, 0));

    // Once the frames are gone, saving one warns and writes nothing.
    const QString missing = dir.filePath(QStringLiteral("frame.bmp"));
    animation.RemoveAllFrames();
    EXPECT_EQ(animation.GetAnimationFrameCount(), 0);
    QStringList messages;
    bool saved = true;
    {
        MessageCapture capture;
        saved = animation.SaveFrame(missing, 0);
        messages = capture.Messages();
    }
    EXPECT_FALSE(saved);
    EXPECT_FALSE(QFile::exists(missing));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().contains(QStringLiteral("frame < GetAnimationFrameCount()")));
}

TEST(DocumentPicture, SavesBmpWhateverTheExtension)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("picture.png"));
    CDocumentPicture picture(Filled(7, 3, qRgb(12, 34, 56)));
    ASSERT_TRUE(picture.Save(path));
    EXPECT_EQ(FileHead(path, 2), QByteArray("BM"));
    QImage back(path, "BMP");
    EXPECT_EQ(back.size(), QSize(7, 3));
    EXPECT_EQ(back.pixel(6, 2), qRgb(12, 34, 56));
}

TEST(DocumentPicture, UnwritablePathFails)
{
    CDocumentPicture picture(Filled(2, 2, qRgb(0, 0, 0)));
    EXPECT_FALSE(picture.Save(QStringLiteral("/nonexistent-folder/picture.bmp")));
    CDocumentAnimation animation;
    animation.AppendFrame(Filled(2, 2, qRgb(0, 0, 0)), 10);
    EXPECT_FALSE(animation.SaveFrame(QStringLiteral("/nonexistent-folder/frame.bmp"), 0));
}
