#pragma once
// The engine's tests run the application object in process on a scratch application folder with the host's
// and the engine's test plug-ins, the shipped language file, scripted answers and a recording main window.
#include "Core/COrvApplication.h"
#include "Documents/CDocumentAbstract.h"
#include "Documents/CDocumentAnimation.h"
#include "Engine/CMainWindowLink.h"
#include "Engine/CResizeAsker.h"
#include "ScratchApp.h"
#include "ScriptedPrompt.h"
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// The line end of the logs, to join expected lines.
inline const QString LF = QStringLiteral("\n");

// The English text of an application message, as the shipped language file gives it.
QString Text(const char* id);
// The file names of a folder, sorted.
QStringList FilesIn(const QString& folder);

// The log of one source converted and written to these files.
QString ConvertedSourceLog(const QString& source, const QStringList& files);

// Lays out the scratch folder: the shipped language file, every test plug-in with its parameter file, the
// profile PHONE1 (pictures up to 101 x 80, media up to 1024 bytes, 8 animation frames, proposed sizes
// 64 x 64, 101 x 80 and 32 x 32), the profile REFUSER, which the host's test exporter refuses, and the profile
// WARY, to which it answers 2: listed, yet not accepted for a conversion.
void PrepareEngineApp(const CScratchApp& app);

// Records what the engine tells the main window.
class CRecordingWindow : public CMainWindowLink
{
public:
    void SetProgress(const QString& text, int progress) override
    {
        mCalls.append(QStringLiteral("progress %1 %2").arg(text).arg(progress));
        if (mOnProgress)
            mOnProgress();
    }
    void InitProgressBar() override { mCalls.append(QStringLiteral("init")); }
    void ValidateConversion(B32 converted) override { mCalls.append(QStringLiteral("converted %1").arg(converted)); }
    QWidget* GetWindowWidget() override { return nullptr; }

    QStringList mCalls;
    // Runs inside the converter's progress report, as a click on the popup would.
    std::function<void()> mOnProgress;
};

// Answers the resize dialogs from a script and records what they were offered.
class CScriptedResizer : public CResizeAsker
{
public:
    bool AskPictureResize(const CResizeRequest& request, const QImage& source, QImage& result) override
    {
        mRequests.push_back(request);
        mSourceSizes.append(source.size());
        if (!mAccept)
            return false;
        result = source.scaled(mPictureSize);
        return true;
    }
    bool AskAnimationResize(const CResizeRequest& request, int maxFrameCount, const CDocumentAnimation& source,
                            CDocumentAnimation& result) override
    {
        mRequests.push_back(request);
        mMaxFrameCounts.append(maxFrameCount);
        mSourceSizes.append(QSize(source.GetAnimationFrameCount(), 0));
        if (!mAccept)
            return false;
        for (int i = 0; i < mKeptFrames && i < source.GetAnimationFrameCount(); ++i)
            result.AppendFrame(source.GetFrame(i)->GetImage().scaled(mPictureSize), 10 + i);
        return true;
    }

    bool mAccept = true;
    QSize mPictureSize{40, 30};
    int mKeptFrames = 3;
    std::vector<CResizeRequest> mRequests;
    QList<QSize> mSourceSizes;
    QList<int> mMaxFrameCounts;
};

// One application object per test, started from the scratch folder's "start" folder.
class EngineTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Constructs and starts the application with these arguments after the program name; in window mode the
    // recording window and the scripted resizer are installed.
    COrvApplication& Start(const QStringList& arguments = QStringList());

    // A path inside the start folder, and a file written there (folders made as needed).
    QString In(const QString& relative) const { return m_Start + QLatin1Char('/') + relative; }
    QString In(const char* relative) const { return In(QString::fromUtf8(relative)); }
    QString Write(const QString& relative, const QByteArray& content) const;
    // The document loaded in the media tab, or null.
    CDocument* Loaded()
    {
        CDocument* document = nullptr;
        m_Application->GetLoadedDocument(&document);
        return document;
    }
    // The bytes of the converted result, or "<none>".
    QByteArray ResultBytes()
    {
        CDocument* document = nullptr;
        m_Application->GetPreviewRawData(&document);
        return document ? static_cast<CDocumentAbstract*>(document)->ToByteArray() : QByteArray("<none>");
    }
    // Writes the text as a file, loads it in the media tab with the converter writing that extension and
    // converts it; returns what the converter wrote ("<none>" when nothing was converted).
    QByteArray LoadAndConvert(const char* name, const QByteArray& text, const char* extension);
    // Everything logged since the last call.
    QString NewLog();
    // Positions of the converter writing that extension in the application's three lists.
    int ConverterIndex(const char* extension);
    int TranslatorIndex(const char* extension);
    int EntryIndex(const char* extension);

    CProcessStateKeeper m_Keeper;
    CScratchApp m_App;
    QString m_Start;
    CScriptedPrompt m_Prompt;
    CRecordingWindow m_Window;
    CScriptedResizer m_Resizer;
    std::unique_ptr<COrvApplication> m_Application;

private:
    CProgramArguments m_Arguments;
    qint64 m_LogRead = 0;
};

// An engine test started in window mode at once, with the empty folder "out" of the start folder for results.
class EngineOutputTest : public EngineTest
{
protected:
    void SetUp() override;

    // A path in the output folder.
    QString Out(const char* name) const { return m_Out + QLatin1Char('/') + QString::fromLatin1(name); }

    QString m_Out;
};
