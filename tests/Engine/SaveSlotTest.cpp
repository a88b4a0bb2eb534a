// Saving the media tab's result: file naming, the overwrite and media-size questions, previews.
#include "Core/CGenerationInfo.h"
#include "EngineTestSupport.h"
#include "QtPrinters.h"
#include <QDir>
#include <QImage>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

namespace {

class SaveSlotTest : public EngineOutputTest
{
protected:
    // Loads a source with that text and converts it with the host's test exporter.
    void Convert(const QByteArray& text, const QString& name = QStringLiteral("in/song.txt"))
    {
        QString path = Write(name, text);
        B32 success = 0;
        m_Application->LoadMediaAsked(path, ConverterIndex("TST"), success);
        ASSERT_EQ(success, 1);
        CParameters* parameters = nullptr;
        m_Application->GetConverterParameters(ConverterIndex("TST"), &parameters);
        CGenerationInfo info(path, ConverterIndex("TST"), parameters, m_Out);
        m_Application->ConvertionAsked(0, &info);
        NewLog();
    }
    // Saves the result; 1 when every file was written.
    B32 Save(B32 savePreview, const QString& folder, const QString& name)
    {
        B32 saved = 7;
        m_Application->SaveAsked(savePreview, folder, name, saved);
        return saved;
    }
    QString Question(const char* id, const QString& file, const QString& phone = QString()) const
    {
        const QString text = phone.isEmpty() ? Text(id).arg(file) : Text(id).arg(file, phone);
        return Text("id_warning") + QLatin1Char('|') + text + QLatin1Char('|') + Text("id_yes_caption")
               + QLatin1Char('/') + Text("id_no_caption") + QStringLiteral("|1|1");
    }
};

TEST_F(SaveSlotTest, OneChunkGivesOneFileWithoutSuffixAndItsPreview)
{
    Convert("preview");
    EXPECT_EQ(Save(1, m_Out, QString()), 1);
    EXPECT_EQ(FilesIn(m_Out), (QStringList{QStringLiteral("song.TST"), QStringLiteral("song_previewTST.BMP")}));
    EXPECT_EQ(ReadAll(Out("song.TST")), "preview");
    EXPECT_EQ(QImage(Out("song_previewTST.BMP")).size(), QSize(4, 3));
    EXPECT_EQ(NewLog(), Text("id_saving_file").arg(Out("song.TST")) + LF
                            + Text("id_saving_file").arg(Out("song_previewTST.BMP")) + LF);
    QString name;
    m_Application->GetResultFileName(name);
    EXPECT_EQ(name, Out("song.TST"));
    EXPECT_TRUE(m_Prompt.mQuestions.isEmpty());

    // The result stays: it can be saved again under another name, without its preview this time.
    Save(0, m_Out, QStringLiteral("/elsewhere/other.name.mid"));
    EXPECT_EQ(ReadAll(Out("other.TST")), "preview");
    EXPECT_FALSE(QFile::exists(Out("other_previewTST.BMP")));
    m_Application->GetResultFileName(name);
    EXPECT_EQ(name, Out("other.TST"));
}

TEST_F(SaveSlotTest, SeveralChunksAreNumberedAndOnlyTheFirstFileIsAskedAbout)
{
    Convert("two");
    // Only the second file exists: nothing is asked.
    Write(QStringLiteral("out/song_1.TST"), "a much longer older file");
    Save(0, m_Out, QString());
    EXPECT_TRUE(m_Prompt.mQuestions.isEmpty());
    EXPECT_EQ(ReadAll(Out("song_0.TST")), "AB");
    EXPECT_EQ(ReadAll(Out("song_1.TST")), "CDE");
    EXPECT_EQ(NewLog(),
              Text("id_saving_file").arg(Out("song_0.TST")) + LF + Text("id_saving_file").arg(Out("song_1.TST")) + LF);

    // Now the first exists: "no" writes nothing at all, "yes" writes both.
    Write(QStringLiteral("out/song_0.TST"), "old");
    Write(QStringLiteral("out/song_1.TST"), "old");
    m_Prompt.mAnswers = {1};
    EXPECT_EQ(Save(1, m_Out, QString()), 0); // refused: not saved
    EXPECT_EQ(m_Prompt.mQuestions, QStringList{Question("id_already_exists", Out("song_0.TST"))});
    EXPECT_EQ(ReadAll(Out("song_0.TST")), "old");
    EXPECT_EQ(ReadAll(Out("song_1.TST")), "old");
    EXPECT_EQ(NewLog(), QString());

    m_Prompt.mAnswers = {0};
    EXPECT_EQ(Save(0, m_Out, QString()), 1);
    EXPECT_EQ(m_Prompt.mQuestions.size(), 2);
    EXPECT_EQ(ReadAll(Out("song_0.TST")), "AB");
    EXPECT_EQ(ReadAll(Out("song_1.TST")), "CDE");
    EXPECT_EQ(FilesIn(m_Out), (QStringList{QStringLiteral("song_0.TST"), QStringLiteral("song_1.TST")}));
}

TEST_F(SaveSlotTest, AResultLargerThanThePhoneTakesIsSavedOnlyWhenConfirmed)
{
    Convert("oversize");
    m_Prompt.mAnswers = {1};
    Save(0, m_Out, QString());
    EXPECT_EQ(m_Prompt.mQuestions, QStringList{Question("id_media_toobig", Out("song.TST"), QStringLiteral("PHONE1"))});
    EXPECT_FALSE(QFile::exists(Out("song.TST")));

    m_Prompt.mAnswers = {0};
    Save(0, m_Out, QString());
    EXPECT_EQ(ReadAll(Out("song.TST")), QByteArray(4096, 'X'));

    // Exactly the limit passes without a question.
    m_Prompt.mQuestions.clear();
    Convert(QByteArray(1024, 'a'), QStringLiteral("in/limit.txt"));
    Save(0, m_Out, QString());
    EXPECT_TRUE(m_Prompt.mQuestions.isEmpty());
    EXPECT_EQ(ReadAll(Out("limit.TST")).size(), 1024);
}

TEST_F(SaveSlotTest, AWriteThatFailsIsReportedAndLeavesNothingBehind)
{
    Convert("two");
    const QString missing = In(QStringLiteral("no/such/folder"));
    EXPECT_EQ(Save(1, missing, QString()), 0);
    const QString first = missing + QStringLiteral("/song_0.TST");
    const QString second = missing + QStringLiteral("/song_1.TST");
    // The log and each box give the system's reason.
    const QString reason = QString::fromLocal8Bit(std::strerror(ENOENT));
    EXPECT_EQ(NewLog(), Text("id_saving_file").arg(first) + LF + Text("id_saving_failed_because").arg(first, reason)
                            + LF + Text("id_saving_file").arg(second) + LF
                            + Text("id_saving_failed_because").arg(second, reason) + LF);
    ASSERT_EQ(m_Prompt.mShown.size(), 2u);
    EXPECT_EQ(m_Prompt.mShown[0].text, Text("id_failed_to_save").arg(first, reason));
    EXPECT_EQ(m_Prompt.mShown[1].text, Text("id_failed_to_save").arg(second, reason));
    EXPECT_FALSE(QDir(missing).exists());
}

TEST_F(SaveSlotTest, WithoutAResultNothingIsSaved)
{
    EXPECT_EQ(Save(1, m_Out, QStringLiteral("song.txt")), 0);
    EXPECT_TRUE(FilesIn(m_Out).isEmpty());
    EXPECT_EQ(NewLog(), QString());

    // A result without a loaded document is not saved either.
    Convert("text");
    m_Application->ClearMediaAsked();
    Save(1, m_Out, QString());
    EXPECT_TRUE(FilesIn(m_Out).isEmpty());
}

TEST_F(SaveSlotTest, AResultWithoutChunksSavesOnlyItsPreviews)
{
    Convert("nochunk");
    Save(1, m_Out, QString());
    EXPECT_TRUE(FilesIn(m_Out).isEmpty());
    EXPECT_EQ(NewLog(), QString());
}

} // namespace
