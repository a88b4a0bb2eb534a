// Cancelling a running conversion or batch from the waiting popup.
#include "Core/CBatchInfo.h"
#include "Core/CGenerationInfo.h"
#include "Engine/CEngineState.h"
#include "EngineTestSupport.h"
#include "Gui/Widgets/CProgressDialog.h"
#include "Host/CPluginClass.h"
#include "Plugin/CPluginBase.h"
#include "QtPrinters.h"
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

class CancelTest : public EngineTest
{
protected:
    CEngineState& State() { return m_Application->GetEngineState(); }
    // The window of the waiting popup on screen; null when none is shown.
    static CProgressDialog* PopupDialog()
    {
        for (QWidget* widget : QApplication::allWidgets())
            if (auto* dialog = qobject_cast<CProgressDialog*>(widget))
                return dialog;
        return nullptr;
    }
};

TEST_F(CancelTest, ThePopupButtonStopsACancelableConversionSilently)
{
    Start();
    QString path = Write(QStringLiteral("a.txt"), "long work");
    B32 success = 0;
    m_Application->LoadMediaAsked(path, ConverterIndex("TWX"), success);
    ASSERT_EQ(success, 1);
    NewLog();
    bool buttonShown = false;
    m_Window.mOnProgress = [&] {
        ASSERT_NE(State().mpPopup, nullptr);
        CProgressDialog* popup = PopupDialog();
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(popup->objectName(), QStringLiteral("Popup Dialog"));
        EXPECT_EQ(popup->windowTitle(), Text("id_currently_converting"));
        auto* button = popup->findChild<QPushButton*>();
        buttonShown =
            button && !button->isHidden() && button->isEnabled() && button->text() == Text("id_cancel_caption");
        popup->Clicked();
    };
    CGenerationInfo info(path, ConverterIndex("TWX"), nullptr, QString());
    m_Application->ConvertionAsked(0, &info);
    EXPECT_TRUE(buttonShown);
    EXPECT_EQ(State().mCancelFlag, 1);
    EXPECT_EQ(NewLog(), Text("id_converting") + LF);
    EXPECT_TRUE(m_Prompt.mShown.empty());
    const QString progress = QStringLiteral("progress ") + Text("id_processing").arg(QStringLiteral("a.txt"));
    EXPECT_EQ(m_Window.mCalls, (QStringList{progress + QStringLiteral(" 40"), QStringLiteral("init"),
                                            QStringLiteral("converted 0"), QStringLiteral("init")}));
    CDocument* result = nullptr;
    m_Application->GetPreviewRawData(&result);
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(State().mpPopup, nullptr);
    EXPECT_EQ(PopupDialog(), nullptr) << "the window goes with the popup";

    // Once cancelled, progress is no longer shown; the next conversion starts afresh.
    m_Window.mOnProgress = nullptr;
    m_Window.mCalls.clear();
    m_Application->ConvertionAsked(0, &info);
    EXPECT_EQ(State().mCancelFlag, 0);
    EXPECT_EQ(m_Window.mCalls.first(), progress + QStringLiteral(" 40"));
}

TEST_F(CancelTest, EscapeStopsABatchBeforeItsNextSource)
{
    Start();
    const QStringList sources{Write(QStringLiteral("a.txt"), "a"), Write(QStringLiteral("b.txt"), "b"),
                              Write(QStringLiteral("c.txt"), "c")};
    QDir().mkpath(In(QStringLiteral("out")));
    m_Window.mOnProgress = [&] { PopupDialog()->reject(); };
    CBatchInfoList list;
    list.append(new CBatchInfo(sources, EntryIndex("TWX"), QString(), In(QStringLiteral("out"))));
    list.append(new CBatchInfo(sources, EntryIndex("TST"), QString(), In(QStringLiteral("out"))));
    B32 result = 7;
    m_Application->LaunchAsked(&list, 1, result);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(NewLog(),
              Text("id_launching") + LF + Text("id_opening_file").arg(sources.at(0)) + LF + Text("id_importing") + LF);
    EXPECT_TRUE(FilesIn(In(QStringLiteral("out"))).isEmpty());
    EXPECT_TRUE(m_Prompt.mShown.empty());
    EXPECT_EQ(State().mpPopup, nullptr);
}

TEST_F(CancelTest, OnlyACancelableRunningConverterTakesTheRequest)
{
    Start();
    m_Application->CancelConvertion();
    EXPECT_EQ(State().mCancelFlag, 0);
    EXPECT_TRUE(m_Window.mCalls.isEmpty());

    // The host's test exporter cannot stop: its request changes nothing.
    State().mpRunningConverter = m_Application->GetEntireList(nullptr).at(EntryIndex("TST"))->GetConverter();
    m_Application->CancelConvertion();
    EXPECT_EQ(State().mCancelFlag, 0);
    EXPECT_TRUE(m_Window.mCalls.isEmpty());

    m_Application->CancelBatch();
    EXPECT_EQ(State().mCancelFlag, 1);
    EXPECT_EQ(m_Window.mCalls, QStringList{QStringLiteral("init")});
    State().mpRunningConverter = nullptr;
}

} // namespace
