// The engine runs on what its host gives it, with no application object: positions outside the converter
// lists and missing documents are reported through the host and leave the engine's state as it was.
#include "Engine/CEngineHost.h"
#include "Engine/COrvEngine.h"
#include "Engine/CWaitingPopup.h"
#include "Parameters/CParameters.h"
#include <QStringList>
#include <gtest/gtest.h>

namespace {

class CFakeHost : public CEngineHost
{
public:
    CProfile* GetCurrentProfile() const override { return nullptr; }
    const QList<CProfile*>& GetProfileList() const override { return m_Profiles; }
    const QList<CRefusedProfile>& GetRefusedProfiles() const override { return m_Refused; }
    void SetCurrentProfile(int) override {}
    CPluginManager& GetPluginManager() override { return m_Plugins; }
    QList<CPluginClass*> GetConverterList(CProfile*) const override { return {}; }
    QList<CPluginClass*> GetTraductorList(CProfile*) const override { return {}; }
    QList<CPluginClass*> GetEntireList(CProfile*) const override { return {}; }
    B32 IsCommandLineMode() const override { return 0; }
    const CCommandLine& GetCommandLine() const override { return m_CommandLine; }
    QString GetCurrentPath() const override { return QString(); }
    void Log(const QString& text) override { m_Log << text; }
    void LogConversionLog(CPluginBase*) override {}
    QString GetLogFileName() const override { return QString(); }
    QString GetLogFilePath() const override { return QString(); }
    void Report(int kind, const QString& title, const QString&) override
    {
        m_Reports << QString::number(kind) + QLatin1Char(' ') + title;
    }
    CUserPrompt& GetUserPrompt() override { return m_Prompt; }
    CWaitingPopup* CreateWaitingPopup(QWidget*) override
    {
        ++m_Popups;
        return nullptr;
    }

    QStringList m_Log;
    QStringList m_Reports;
    int m_Popups = 0;

private:
    QList<CProfile*> m_Profiles;
    QList<CRefusedProfile> m_Refused;
    CPluginManager m_Plugins;
    CCommandLine m_CommandLine;
    CLogPrompt m_Prompt{[](const QString&) {}};
};

} // namespace

TEST(EngineHost, PositionsOutsideTheListsAreReportedThroughTheHost)
{
    CFakeHost host;
    COrvEngine engine(host);
    const struct
    {
        const char* name;
        std::function<void()> call;
        int reports;
    } cases[] = {
        {"user parameters", [&] { engine.LoadParamsAsked(0, QStringLiteral("none.xml")); }, 1},
        {"default parameters", [&] { engine.LoadDefaultParamsAsked(3); }, 1},
        {"translator parameters", [&] { engine.LoadTraductorParamsAsked(-1, QStringLiteral("none.xml")); }, 1},
        {"translator defaults", [&] { engine.LoadDefaultTraductorParamsAsked(0); }, 1},
        {"saving no set", [&] { engine.SaveParamsAsked(QStringLiteral("out.xml"), nullptr); }, 1},
        {"export extension",
         [&] {
             QString e;
             engine.GetExportExtensionForConverter(e, 0);
         },
         0},
        {"working set",
         [&] {
             CParameters* p = nullptr;
             engine.GetConverterParameters(0, &p);
         },
         0},
        {"clearing", [&] { engine.ClearMediaAsked(); }, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host.m_Reports.clear();
        c.call();
        EXPECT_EQ(host.m_Reports.size(), c.reports);
        for (const QString& report : host.m_Reports)
            EXPECT_TRUE(report.startsWith(QStringLiteral("0 "))) << report.toStdString();
    }
    EXPECT_EQ(engine.State().mpLoadedDocument, nullptr);
    EXPECT_EQ(engine.State().mpResultDocument, nullptr);
    EXPECT_EQ(host.m_Popups, 0);
}

TEST(EngineHost, ACancelReachesOnlyARunningConverter)
{
    CFakeHost host;
    COrvEngine engine(host);
    engine.CancelConvertion();
    EXPECT_EQ(engine.State().mCancelFlag, 0);
    engine.CancelBatch();
    EXPECT_EQ(engine.State().mCancelFlag, 1);
}
