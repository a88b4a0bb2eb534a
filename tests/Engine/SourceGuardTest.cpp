// The one guard around a source's work: what a step that runs out of memory wrote, left with its plug-ins or
// gave the engine is taken back, and the log (and a box, given a title) names the source.
#include "Documents/CDocumentAbstract.h"
#include "Engine/CSourceGuard.h"
#include "EngineTestSupport.h"
#include "Host/CPluginClass.h"
#include "Plugin/CPluginBase.h"
#include "QtPrinters.h"
#include "Util/SafeFileWrite.h"
#include <gtest/gtest.h>
#include <new>

namespace {

class SourceGuardTest : public EngineOutputTest
{
protected:
    CPluginBase* Exporter() { return m_Application->GetEntireList(nullptr).at(EntryIndex("TST"))->GetConverter(); }
    CSourceGuard Guard(const QString& title = QString())
    {
        return CSourceGuard(m_Application->GetEngine(), QStringLiteral("/music/tune.mid"), title);
    }
};

TEST_F(SourceGuardTest, AStepThatRunsOutOfMemoryLeavesNothingOfTheSource)
{
    const QString before = Out("before.TST");
    ASSERT_TRUE(WriteBytesSafely(before, "earlier"));
    CPluginBase* exporter = Exporter();
    int progress = 0;
    NewLog();
    m_Window.mCalls.clear();
    const bool enough = Guard(QStringLiteral("Title")).Run({exporter}, [&] {
        ASSERT_TRUE(WriteBytesSafely(Out("tune.TST"), "result"));
        ASSERT_TRUE(WriteBytesSafely(Out("tune_previewTST.BMP"), "preview"));
        QObject::connect(exporter, &CPluginBase::SetProgress, &m_Application->GetEngine(),
                         &COrvEngine::ProgressForBatch);
        ++progress;
        m_Application->GetEngineState().mpRunningConverter = exporter;
        m_Application->GetEngineState().mpResultDocument = new CDocumentAbstract;
        throw std::bad_alloc();
    });
    EXPECT_FALSE(enough);
    EXPECT_EQ(progress, 1);
    EXPECT_EQ(FilesIn(m_Out), QStringList{QStringLiteral("before.TST")});
    const QString noMemory = Text("id_source_out_of_memory").arg(QStringLiteral("/music/tune.mid"));
    EXPECT_EQ(NewLog(), noMemory + LF);
    EXPECT_EQ(m_Prompt.Messages(), OneMessage(QStringLiteral("Title"), noMemory));
    EXPECT_EQ(m_Window.mCalls, QStringList{QStringLiteral("init")});
    EXPECT_EQ(m_Application->GetEngineState().mpRunningConverter, nullptr);
    EXPECT_EQ(ResultBytes(), "<none>");
    m_Window.mCalls.clear();
    emit exporter->SetProgress(QString(), 10);
    EXPECT_TRUE(m_Window.mCalls.isEmpty());
}

TEST_F(SourceGuardTest, AStepWithEnoughMemoryKeepsWhatItWrote)
{
    m_Prompt.mShown.clear();
    NewLog();
    EXPECT_TRUE(Guard().Run({Exporter()}, [&] { ASSERT_TRUE(WriteBytesSafely(Out("tune.TST"), "result")); }));
    EXPECT_EQ(FilesIn(m_Out), QStringList{QStringLiteral("tune.TST")});
    // Without a title a failure is said in the log alone.
    EXPECT_FALSE(Guard().Run({}, [] { throw std::bad_alloc(); }));
    EXPECT_EQ(NewLog(), Text("id_source_out_of_memory").arg(QStringLiteral("/music/tune.mid")) + LF);
    EXPECT_TRUE(m_Prompt.mShown.empty());
}

// What the caller holds for the source is let go of before the failure is said, and a release that itself runs
// short still lets the failure be said.
TEST_F(SourceGuardTest, TheCallersHoldIsLetGoOfBeforeTheFailureIsSaid)
{
    m_Prompt.mShown.clear();
    NewLog();
    size_t shownAtRelease = 99;
    EXPECT_FALSE(Guard(QStringLiteral("Title")).Run(
        {}, [] { throw std::bad_alloc(); }, [&] { shownAtRelease = m_Prompt.mShown.size(); }));
    EXPECT_EQ(shownAtRelease, 0u);
    const QString noMemory = Text("id_source_out_of_memory").arg(QStringLiteral("/music/tune.mid"));
    EXPECT_EQ(m_Prompt.Messages(), OneMessage(QStringLiteral("Title"), noMemory));

    m_Prompt.mShown.clear();
    EXPECT_FALSE(Guard(QStringLiteral("Title")).Run({}, [] { throw std::bad_alloc(); }, [] { throw std::bad_alloc(); }));
    EXPECT_EQ(NewLog(), noMemory + LF + noMemory + LF);
    EXPECT_EQ(m_Prompt.Messages(), OneMessage(QStringLiteral("Title"), noMemory));
}

} // namespace
