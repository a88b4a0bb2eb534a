// Memory that cannot be had is one failure, however the allocation says so: a reader, a picture conversion or a
// sound that grows report it as std::bad_alloc (which the program's guard around each source catches), never as a
// bad file, a shorter sound or a null pointer written through. Files a source wrote can be taken back.
#include "BlackPng.h"
#include "Documents/NormalisePicture.h"
#include "FailingAllocations.h"
#include "Import/DescriptionFrames.h"
#include "Import/PictureImport.h"
#include "TestBytes.h"
#include "Util/BoundedFileRead.h"
#include "Util/SafeFileWrite.h"
#include "Wave/CDocumentWave.h"
#include <QImage>
#include <QTemporaryDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>
#include <new>

namespace {

#ifdef ORV_FAILING_ALLOCATIONS
// The step works with memory, and throws std::bad_alloc when allocations of at least `from` bytes fail.
void ExpectMemoryFailureThrows(std::size_t from, const std::function<void()>& step)
{
    step();
    const CFailingAllocations failing(from);
    EXPECT_THROW(step(), std::bad_alloc);
    EXPECT_GT(CFailingAllocations::Failed(), 0);
}

TEST(AllocationFailure, AValidPictureShortOfMemoryIsNotCalledUnreadable)
{
    const QByteArray png = BlackPng::Grey(4000, 4000);
    ExpectMemoryFailureThrows(8 << 20, [&png] {
        QImage picture;
        EXPECT_EQ(PictureImport::LoadFromData(png, picture), PictureImport::Loaded);
    });
}

TEST(AllocationFailure, APictureNormalisedShortOfMemoryIsNotLeftNull)
{
    QImage picture(1000, 1000, QImage::Format_RGB888);
    picture.fill(Qt::red);
    ExpectMemoryFailureThrows(1 << 20, [&picture] { EXPECT_FALSE(NormalisePicture(picture).isNull()); });
}

TEST(AllocationFailure, ASoundThatCannotGrowIsNotCutShort)
{
    CDocumentWave wave;
    ASSERT_TRUE(wave.CreateHeader(8000, 16, 1));
    ExpectMemoryFailureThrows(512 << 10, [&wave] {
        const uint32_t before = wave.m_WAVEheader.data_ckSize;
        EXPECT_EQ(wave.AppendSilence(60000), 480000u);
        EXPECT_EQ(wave.m_WAVEheader.data_ckSize, before + 960000u);
    });
}

TEST(AllocationFailure, ASoundConvertedShortOfMemoryIsNotCalledImproper)
{
    CDocumentWave wave;
    ASSERT_TRUE(wave.CreateHeader(44100, 16, 2));
    const QByteArray samples(44100 * 4 * 2, '\0');
    wave.m_WAVEheader.data_ckSize = uint32_t(samples.size());
    ASSERT_EQ(wave.SetInputData(samples.constData(), uint32_t(samples.size())), uint32_t(samples.size()));
    ExpectMemoryFailureThrows(64 << 10, [&wave] {
        wave.ConvertFormat(1, 16, 8000);
        EXPECT_TRUE(wave.HasOutputData());
    });
}
#endif

// A picture the reader cannot decode while memory is there is still unreadable, not short of memory.
TEST(AllocationFailure, ACutPictureIsUnreadableWhenMemoryIsThere)
{
    const QByteArray png = BlackPng::Grey(400, 400);
    QImage picture;
    EXPECT_EQ(PictureImport::LoadFromData(png.left(png.size() - 40), picture), PictureImport::LoadFailed);
}

// A description larger than an XML file may be is refused from its size, before it is parsed.
TEST(AllocationFailure, ADescriptionLargerThanAnXmlFileIsRefusedUnread)
{
    QList<DescriptionFrames::CFrame> frames;
    const QByteArray frame = "<FRAME REF=\"a.png\" DELAY=\"100\"/>";
    const QByteArray atTheLimit = "<A>" + QByteArray(int(FileLimits::MaxXmlBytes) - 7, ' ') + "</A>";
    ASSERT_EQ(atTheLimit.size(), FileLimits::MaxXmlBytes);
    EXPECT_EQ(DescriptionFrames::List(atTheLimit, frames), DescriptionFrames::Listed);
    EXPECT_EQ(DescriptionFrames::List(atTheLimit + " ", frames), DescriptionFrames::TooLarge);
    EXPECT_TRUE(frames.isEmpty());
}

// A record notes every file written while it lives, nested records each, and takes them back.
TEST(AllocationFailure, WrittenFilesAreNotedAndTakenBack)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString before = dir.filePath(QStringLiteral("before.bin"));
    const QString first = dir.filePath(QStringLiteral("first.bin"));
    const QString second = dir.filePath(QStringLiteral("second.bin"));
    ASSERT_TRUE(WriteBytesSafely(before, "kept"));
    CWrittenFiles outer;
    ASSERT_TRUE(WriteBytesSafely(first, "one"));
    {
        CWrittenFiles inner;
        ASSERT_TRUE(WriteBytesSafely(second, "two"));
        EXPECT_FALSE(WriteBytesSafely(dir.filePath(QStringLiteral("missing/x.bin")), "no"));
        EXPECT_EQ(inner.Paths(), QStringList{second});
    }
    EXPECT_EQ(outer.Paths(), (QStringList{first, second}));
    outer.PutBack();
    EXPECT_FALSE(QFile::exists(first));
    EXPECT_FALSE(QFile::exists(second));
    EXPECT_EQ(ReadFileBytes(before), "kept");
    EXPECT_TRUE(outer.Paths().isEmpty());
}

} // namespace
