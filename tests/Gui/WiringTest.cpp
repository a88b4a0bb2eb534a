// The window's connection table: every application-bound signal reaches the application's slot of the same
// role, every panel request is relayed through the window, and the lines between panels of one tab arrive.
#include "Core/CBatchInfo.h"
#include "Core/CGenerationInfo.h"
#include "Documents/CDocumentAbstract.h"
#include "Gui/Browsing/FileLineControls.h"
#include "Gui/Panels/CBatchSelectorPanel.h"
#include "Gui/Panels/CConverterPanel.h"
#include "Gui/Panels/CDestinationSelectorPanel.h"
#include "Gui/Panels/CMediaSelectorPanel.h"
#include "Gui/Panels/CParamsSelectorPanel.h"
#include "Gui/Panels/CSmsBuilderPanel.h"
#include "Gui/Panels/CSmsSelectorPanel.h"
#include "Gui/Window/COrvTabview.h"
#include "GuiTestSupport.h"
#include "Parameters/CParameters.h"
#include "Parameters/CProfile.h"
#include "QtPrinters.h"
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <functional>
#include <vector>

namespace {

using W = OrvaneMainWindow;
using A = COrvApplication;

struct Query
{
    const char* name;
    // What the window's signal brings back, and what the application's slot gives when called itself.
    std::function<QString()> viaWindow;
    std::function<QString()> direct;
};

QString Text(const QStringList& list)
{
    return list.join(QLatin1Char('|'));
}

QString Pointer(const void* pointer)
{
    return QString::number(quintptr(pointer));
}

// How many times the relay signal fired while the panel's signal was emitted.
template <typename Sender, typename Signal, typename Relay, typename... Args>
int Arrivals(Sender* sender, Signal signal, OrvaneMainWindow* window, Relay relay, Args&&... args)
{
    int count = 0;
    const QMetaObject::Connection connection = QObject::connect(window, relay, window, [&count] { ++count; });
    (sender->*signal)(std::forward<Args>(args)...);
    QObject::disconnect(connection);
    return count;
}

class WiringTest : public GuiTest
{};

TEST_F(WiringTest, QueriesAnswerAsTheApplicationsSlots)
{
    A& a = *m_Application;
    W& w = Window();
    const int converter = ConverterIndex("TST");
    const int translator = TranslatorIndex("TST_SMS");
    const std::vector<Query> queries = {
        {"GetVersionNumber",
         [&] {
             int v = 0;
             emit w.GetVersionNumber(v);
             return QString::number(v, 16);
         },
         [] { return QStringLiteral("20003"); }},
        {"GetCurrentPath",
         [&] {
             QString p;
             emit w.GetCurrentPath(p);
             return p;
         },
         [&] { return a.GetCurrentPath(); }},
        {"GetApplicationPath",
         [&] {
             QString p;
             emit w.GetApplicationPath(p);
             return p;
         },
         [&] { return m_App.Path(); }},
        {"GetInstalledPlugins",
         [&] {
             QStringList l;
             emit w.GetInstalledPlugins(l);
             return Text(l);
         },
         [&] {
             QStringList l;
             a.GetInstalledPlugins(l);
             return Text(l);
         }},
        {"GetTraductorNameList",
         [&] {
             QStringList l;
             emit w.GetTraductorNameList(l);
             return Text(l);
         },
         [&] {
             QStringList l;
             a.GetTraductorNameList(l);
             return Text(l);
         }},
        {"GetConverterNameList",
         [&] {
             QStringList l;
             emit w.GetConverterNameList(l);
             return Text(l);
         },
         [&] {
             QStringList l;
             a.GetConverterNameList(l);
             return Text(l);
         }},
        {"GetEntireNameList",
         [&] {
             QStringList l;
             emit w.GetEntireNameList(l);
             return Text(l);
         },
         [&] {
             QStringList l;
             a.GetEntireNameList(l);
             return Text(l);
         }},
        {"GetProfileNameList",
         [&] {
             QStringList l;
             emit w.GetProfileNameList(l);
             return Text(l);
         },
         [] { return QStringLiteral("PHONE1|REFUSER|WARY"); }},
        {"GetConverterImportExtensionList",
         [&] {
             QStringList l;
             emit w.GetConverterImportExtensionList(l, converter);
             return Text(l);
         },
         [&] {
             QStringList l;
             a.GetConverterImportExtensionList(l, converter);
             return Text(l);
         }},
        {"GetTraductorImportExtensionList",
         [&] {
             QStringList l;
             emit w.GetTraductorImportExtensionList(l, translator);
             return Text(l);
         },
         [&] {
             QStringList l;
             a.GetTraductorImportExtensionList(l, translator);
             return Text(l);
         }},
        {"GetExtensionListForBatch",
         [&] {
             QStringList l;
             emit w.GetExtensionListForBatch(0, l);
             return Text(l);
         },
         [&] {
             QStringList l;
             a.GetExtensionListForBatch(0, l);
             return Text(l);
         }},
        {"GetEntireImportExtensionList",
         [&] {
             QStringList l;
             emit w.GetEntireImportExtensionList(l);
             return Text(l);
         },
         [&] {
             QStringList l;
             a.GetEntireImportExtensionList(l);
             return Text(l);
         }},
        {"GetConverterParameters",
         [&] {
             CParameters* p = nullptr;
             emit w.GetConverterParameters(converter, &p);
             return Pointer(p);
         },
         [&] {
             CParameters* p = nullptr;
             a.GetConverterParameters(converter, &p);
             return Pointer(p);
         }},
        {"GetTraductorParameters",
         [&] {
             CParameters* p = nullptr;
             QString s;
             emit w.GetTraductorParameters(translator, &p, s);
             return Pointer(p);
         },
         [&] {
             CParameters* p = nullptr;
             QString s;
             a.GetTraductorParameters(translator, &p, s);
             return Pointer(p);
         }},
        {"GetExportExtensionForConverter",
         [&] {
             QString e;
             emit w.GetExportExtensionForConverter(e, converter);
             return e;
         },
         [] { return QStringLiteral("TST"); }},
        {"GetExportExtensionForTranslator",
         [&] {
             QString e;
             emit w.GetExportExtensionForTranslator(e, translator);
             return e;
         },
         [] { return QStringLiteral("TST_SMS"); }},
        {"GetPreviewFileList",
         [&] {
             CDocument::DOCTYPE t = CDocument::DOCTYPE(0);
             QStringList f;
             emit w.GetPreviewFileList(t, f, In(QStringLiteral("x")), converter);
             return QString::number(t);
         },
         [&] {
             CDocument::DOCTYPE t = CDocument::DOCTYPE(0);
             QStringList f;
             a.GetPreviewFileList(t, f, In(QStringLiteral("x")), converter);
             return QString::number(t);
         }},
    };
    for (const Query& query : queries) {
        SCOPED_TRACE(query.name);
        const QString expected = query.direct();
        EXPECT_FALSE(expected.isEmpty() || expected == QLatin1String("0"));
        EXPECT_EQ(query.viaWindow(), expected);
    }
}

TEST_F(WiringTest, MediaRequestsReachTheEngine)
{
    W& w = Window();
    MakeUnsavedResult(); // LoadMediaAsked, GetConverterParameters, ConvertionAsked and ValidateConversion
    CDocument* document = nullptr;
    emit w.GetLoadedDocument(&document);
    EXPECT_NE(document, nullptr);
    document = nullptr;
    emit w.GetPreviewDocument(&document);
    EXPECT_EQ(document, m_Application->GetPreviewDocument());
    document = nullptr;
    emit w.GetPreviewRawData(&document);
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(static_cast<CDocumentAbstract*>(document)->ToByteArray(), ResultBytes());
    QString extension;
    emit w.GetExportExtension(extension);
    EXPECT_EQ(extension, QStringLiteral("TST"));

    QDir().mkpath(In(QStringLiteral("out")));
    B32 saved = 0;
    emit w.SaveAsked(0, In(QStringLiteral("out")), QStringLiteral("Saved"), saved);
    EXPECT_EQ(FilesIn(In(QStringLiteral("out"))), QStringList{QStringLiteral("Saved.TST")});
    EXPECT_EQ(saved, 1);
    QString name;
    emit w.GetResultFileName(name);
    QString direct;
    m_Application->GetResultFileName(direct);
    EXPECT_FALSE(name.isEmpty());
    EXPECT_EQ(name, direct);

    // A preview file loads; an empty list only clears the preview.
    ASSERT_TRUE(QImage(4, 3, QImage::Format_RGB32).save(In(QStringLiteral("p.BMP")), "BMP"));
    B32 ok = 0;
    emit w.LoadPreviewAsked({In(QStringLiteral("p.BMP"))}, CDocument::PICTURE, ok);
    EXPECT_EQ(ok, 1);
    ASSERT_NE(m_Application->GetPreviewDocument(), nullptr);
    ok = 7;
    emit w.LoadPreviewAsked(QStringList(), CDocument::ABSTRACT, ok);
    EXPECT_NE(ok, 7);
    EXPECT_EQ(m_Application->GetPreviewDocument(), nullptr);
    emit w.ClearMediaAsked();
    EXPECT_EQ(Loaded(), nullptr);
}

TEST_F(WiringTest, TranslationAndBatchRequestsRunTheirWork)
{
    W& w = Window();
    const QString source = Write(QStringLiteral("in/card.txt"), "short");
    const QString out = In(QStringLiteral("out"));
    QDir().mkpath(out);
    CParameters* parameters = nullptr;
    QString name = source;
    emit w.GetTraductorParameters(TranslatorIndex("TST_SMS"), &parameters, name);
    CGenerationInfo info(source, TranslatorIndex("TST_SMS"), parameters, out);
    emit w.TranslationAsked(&info, QString());
    EXPECT_EQ(FilesIn(out), QStringList{QStringLiteral("card.TST_SMS")});

    const QString batchOut = In(QStringLiteral("batch"));
    QDir().mkpath(batchOut);
    CBatchInfoList list;
    list.append(new CBatchInfo({source}, EntryIndex("TST"), QString(), batchOut));
    B32 result = 7;
    emit w.LaunchAsked(&list, 0, result);
    EXPECT_NE(result, 7);
    EXPECT_EQ(FilesIn(batchOut), QStringList{QStringLiteral("card.TST")});
}

TEST_F(WiringTest, ParameterRequestsReachTheEngine)
{
    W& w = Window();
    const int converter = ConverterIndex("TST");
    const int translator = TranslatorIndex("TST_SMS");
    auto converterSet = [&] {
        CParameters* p = nullptr;
        emit w.GetConverterParameters(converter, &p);
        return p;
    };
    auto translatorSet = [&] {
        CParameters* p = nullptr;
        QString s;
        emit w.GetTraductorParameters(translator, &p, s);
        return p;
    };
    CParameters* defaults = converterSet();
    const QString saved = In(QStringLiteral("saved.xml"));
    emit w.SaveParamsAsked(saved, defaults);
    ASSERT_TRUE(QFile::exists(saved));

    emit w.LoadParamsAsked(converter, saved);
    EXPECT_NE(converterSet(), defaults);
    emit w.LoadDefaultParamsAsked(converter);
    EXPECT_EQ(converterSet(), defaults);

    CParameters* translatorDefaults = translatorSet();
    emit w.LoadTraductorParamsAsked(translator, saved);
    EXPECT_NE(translatorSet(), translatorDefaults);
    emit w.LoadDefaultTraductorParamsAsked(translator);
    EXPECT_EQ(translatorSet(), translatorDefaults);
}

TEST_F(WiringTest, ProfileAndResizeChoicesReachTheEngine)
{
    emit Window().CurrentProfile(2);
    EXPECT_EQ(m_Application->GetCurrentProfile(), m_Application->GetProfileList().at(2));
    emit Window().ResizeSystematic(0);
    EXPECT_EQ(m_Application->GetEngineState().mResizeOption, 0);
    emit Window().ResizeSystematic(1);
    EXPECT_NE(m_Application->GetEngineState().mResizeOption, 0);
}

TEST_F(WiringTest, PanelRequestsAreRelayedThroughTheWindow)
{
    W* w = &Window();
    // Only the relays count here, not the application's work.
    QObject::disconnect(w, nullptr, m_Application.get(), nullptr);
    COrvTabview& t = Tabs();
    auto* media = t.mpMediaSelectorPanel;
    auto* converter = t.mpConverterPanel;
    auto* mediaOut = t.mpMediaDestinationPanel;
    auto* sms = t.mpSmsSelectorPanel;
    auto* builder = t.mpSmsBuilderPanel;
    auto* smsOut = t.mpSmsDestinationPanel;
    auto* batch = t.mpBatchSelectorPanel;
    auto* params = t.mpParamsSelectorPanel;
    auto* batchOut = t.mpBatchDestinationPanel;
    using M = CMediaSelectorPanel;
    using C = CConverterPanel;
    using D = CDestinationSelectorPanel;
    using S = CSmsSelectorPanel;
    using B = CSmsBuilderPanel;
    using Ba = CBatchSelectorPanel;
    using P = CParamsSelectorPanel;
    QString s;
    QStringList l;
    CDocument* doc = nullptr;
    CParameters* set = nullptr;
    B32 flag = 0;
    CDocument::DOCTYPE type = CDocument::ABSTRACT;
    CBatchInfoList list;
    const std::vector<std::pair<const char*, std::function<int()>>> relays = {
        {"media GetConverterNameList",
         [&] { return Arrivals(media, &M::GetConverterNameList, w, &W::GetConverterNameList, l); }},
        {"media GetCurrentPath", [&] { return Arrivals(media, &M::GetCurrentPath, w, &W::GetCurrentPath, s); }},
        {"media GetConverterImportExtensionList",
         [&] {
             return Arrivals(media, &M::GetConverterImportExtensionList, w, &W::GetConverterImportExtensionList, l, 0);
         }},
        {"media LoadMediaAsked",
         [&] { return Arrivals(media, &M::LoadMediaAsked, w, &W::LoadMediaAsked, s, 0, flag); }},
        {"media ClearMediaAsked", [&] { return Arrivals(media, &M::ClearMediaAsked, w, &W::ClearMediaAsked); }},
        {"media GetLoadedDocument",
         [&] { return Arrivals(media, &M::GetLoadedDocument, w, &W::GetLoadedDocument, &doc); }},
        {"converter GetConverterNameList",
         [&] { return Arrivals(converter, &C::GetConverterNameList, w, &W::GetConverterNameList, l); }},
        {"converter GetConverterParameters",
         [&] { return Arrivals(converter, &C::GetConverterParameters, w, &W::GetConverterParameters, 0, &set); }},
        {"converter SaveParamsAsked",
         [&] { return Arrivals(converter, &C::SaveParamsAsked, w, &W::SaveParamsAsked, QString(), nullptr); }},
        {"converter LoadParamsAsked",
         [&] { return Arrivals(converter, &C::LoadParamsAsked, w, &W::LoadParamsAsked, 0, QString()); }},
        {"converter LoadDefaultParamsAsked",
         [&] { return Arrivals(converter, &C::LoadDefaultParamsAsked, w, &W::LoadDefaultParamsAsked, 0); }},
        {"converter GetExportExtensionForConverter",
         [&] {
             return Arrivals(converter, &C::GetExportExtensionForConverter, w, &W::GetExportExtensionForConverter, s,
                             0);
         }},
        {"media out GetPreviewDocument",
         [&] { return Arrivals(mediaOut, &D::GetPreviewDocument, w, &W::GetPreviewDocument, &doc); }},
        {"media out GetPreviewRawData",
         [&] { return Arrivals(mediaOut, &D::GetPreviewRawData, w, &W::GetPreviewRawData, &doc); }},
        {"media out GetCurrentPath", [&] { return Arrivals(mediaOut, &D::GetCurrentPath, w, &W::GetCurrentPath, s); }},
        {"media out SaveAsked",
         [&] { return Arrivals(mediaOut, &D::SaveAsked, w, &W::SaveAsked, 0, QString(), QString(), flag); }},
        {"media out ConvertionAsked",
         [&] { return Arrivals(mediaOut, &D::ConvertionAsked, w, &W::ConvertionAsked, 0, nullptr); }},
        {"media out GetResultFileName",
         [&] { return Arrivals(mediaOut, &D::GetResultFileName, w, &W::GetResultFileName, s); }},
        {"media out GetExportExtensionForConverter",
         [&] {
             return Arrivals(mediaOut, &D::GetExportExtensionForConverter, w, &W::GetExportExtensionForConverter, s, 0);
         }},
        {"media out GetPreviewFileList",
         [&] { return Arrivals(mediaOut, &D::GetPreviewFileList, w, &W::GetPreviewFileList, type, l, QString(), 0); }},
        {"media out LoadPreviewAsked",
         [&] { return Arrivals(mediaOut, &D::LoadPreviewAsked, w, &W::LoadPreviewAsked, QStringList(), type, flag); }},
        {"sms GetCurrentPath", [&] { return Arrivals(sms, &S::GetCurrentPath, w, &W::GetCurrentPath, s); }},
        {"sms GetTraductorNameList",
         [&] { return Arrivals(sms, &S::GetTraductorNameList, w, &W::GetTraductorNameList, l); }},
        {"sms GetTraductorImportExtensionList",
         [&] {
             return Arrivals(sms, &S::GetTraductorImportExtensionList, w, &W::GetTraductorImportExtensionList, l, 0);
         }},
        {"builder GetTraductorNameList",
         [&] { return Arrivals(builder, &B::GetTraductorNameList, w, &W::GetTraductorNameList, l); }},
        {"builder GetTraductorParameters",
         [&] { return Arrivals(builder, &B::GetTraductorParameters, w, &W::GetTraductorParameters, 0, &set, s); }},
        {"builder LoadTraductorParamsAsked",
         [&] {
             return Arrivals(builder, &B::LoadTraductorParamsAsked, w, &W::LoadTraductorParamsAsked, 0, QString());
         }},
        {"builder SaveParamsAsked",
         [&] { return Arrivals(builder, &B::SaveParamsAsked, w, &W::SaveParamsAsked, QString(), nullptr); }},
        {"builder LoadDefaultTraductorParamsAsked",
         [&] {
             return Arrivals(builder, &B::LoadDefaultTraductorParamsAsked, w, &W::LoadDefaultTraductorParamsAsked, 0);
         }},
        {"builder GetExportExtensionForTranslator",
         [&] {
             return Arrivals(builder, &B::GetExportExtensionForTranslator, w, &W::GetExportExtensionForTranslator, s,
                             0);
         }},
        {"sms out GetExportExtension",
         [&] { return Arrivals(smsOut, &D::GetExportExtension, w, &W::GetExportExtension, s); }},
        {"sms out GetCurrentPath", [&] { return Arrivals(smsOut, &D::GetCurrentPath, w, &W::GetCurrentPath, s); }},
        {"sms out TranslationAsked",
         [&] { return Arrivals(smsOut, &D::TranslationAsked, w, &W::TranslationAsked, nullptr, QString()); }},
        {"sms out SaveAsked",
         [&] { return Arrivals(smsOut, &D::SaveAsked, w, &W::SaveAsked, 0, QString(), QString(), flag); }},
        {"sms out GetExportExtensionForTranslator",
         [&] {
             return Arrivals(smsOut, &D::GetExportExtensionForTranslator, w, &W::GetExportExtensionForTranslator, s, 0);
         }},
        {"batch GetCurrentPath", [&] { return Arrivals(batch, &Ba::GetCurrentPath, w, &W::GetCurrentPath, s); }},
        {"batch GetEntireImportExtensionList",
         [&] { return Arrivals(batch, &Ba::GetEntireImportExtensionList, w, &W::GetEntireImportExtensionList, l); }},
        {"params GetEntireNameList",
         [&] { return Arrivals(params, &P::GetEntireNameList, w, &W::GetEntireNameList, l); }},
        {"params GetCurrentPath", [&] { return Arrivals(params, &P::GetCurrentPath, w, &W::GetCurrentPath, s); }},
        {"batch out GetCurrentPath", [&] { return Arrivals(batchOut, &D::GetCurrentPath, w, &W::GetCurrentPath, s); }},
        {"batch out LaunchAsked",
         [&] { return Arrivals(batchOut, &D::LaunchAsked, w, &W::LaunchAsked, &list, 0, flag); }},
        {"batch out GetExtensionListForBatch",
         [&] { return Arrivals(batchOut, &D::GetExtensionListForBatch, w, &W::GetExtensionListForBatch, 0, l); }},
    };
    for (const auto& relay : relays) {
        SCOPED_TRACE(relay.first);
        EXPECT_EQ(relay.second(), 1);
    }
    // Not relayed: the media and SMS destinations ask their own tab's panels.
    EXPECT_EQ(Arrivals(sms, &S::PathChanged, w, &W::GetCurrentPath, s), 0);
}

TEST_F(WiringTest, PanelsOfOneTabReachEachOther)
{
    QObject::disconnect(&Window(), nullptr, m_Application.get(), nullptr);
    COrvTabview& t = Tabs();
    auto* media = t.mpMediaSelectorPanel;
    auto* mediaOut = t.mpMediaDestinationPanel;
    auto* sms = t.mpSmsSelectorPanel;
    auto* smsOut = t.mpSmsDestinationPanel;
    auto* batch = t.mpBatchSelectorPanel;

    // The media source asks the destination about the result, and tells it the file.
    mediaOut->SetConverted();
    B32 flag = 0;
    emit media->IsConverted(&flag);
    EXPECT_EQ(flag, 1);
    emit media->SetNotConverted();
    emit media->IsConverted(&flag);
    EXPECT_EQ(flag, 0);
    QString file = QStringLiteral("tune.mid");
    emit media->CurrentFileChanged(file);
    EXPECT_EQ(mediaOut->GetCurrentSourceFile(), file);
    file = QStringLiteral("card.txt");
    emit sms->CurrentFileChanged(file);
    EXPECT_EQ(smsOut->GetCurrentSourceFile(), file);

    // The destinations ask their source panels.
    media->SetCurrentPath(In(QStringLiteral("m")));
    sms->SetCurrentFolder(In(QStringLiteral("s")));
    batch->SetCurrentFolder(In(QStringLiteral("b")));
    for (auto [panel, folder] : {std::pair{mediaOut, "m"}, {smsOut, "s"}, {t.mpBatchDestinationPanel, "b"}}) {
        QString path;
        emit panel->GetOriginalPath(path);
        EXPECT_EQ(path, In(QString::fromLatin1(folder)));
    }
    int index = 7;
    emit mediaOut->GetConverterIndex(&index);
    EXPECT_EQ(index, media->GetConverterSelector()->currentIndex());
    index = 7;
    emit smsOut->GetTranslatorIndex(&index);
    EXPECT_EQ(index, sms->GetConverterSelector()->currentIndex());
    CParameters* set = reinterpret_cast<CParameters*>(1);
    emit mediaOut->GetConverterParameters(&set);
    EXPECT_EQ(set, nullptr);
    set = reinterpret_cast<CParameters*>(1);
    emit smsOut->GetTranslatorParameters(&set);
    EXPECT_EQ(set, nullptr);
    QString saved = In(QStringLiteral("r.TST"));
    emit mediaOut->ResultFileSaved(saved);
    EXPECT_EQ(sms->GetCurrentFileName(), QStringLiteral("r.TST"));
    B32 checked = 7;
    emit t.mpBatchDestinationPanel->IsChecked(&checked, 0);
    EXPECT_EQ(checked, 0);

    // The window's broadcasts reach their panels.
    emit Window().Warnings(0);
    EXPECT_EQ(media->GetWarnings(), 0);
    EXPECT_EQ(sms->GetWarnings(), 0);
    EXPECT_EQ(t.GetWarnings(), 0);
    EXPECT_EQ(mediaOut->GetWarnings(), 0);
    // A conversion and a batch run each start from an empty progress bar.
    Window().GetProgressBar()->setValue(50);
    emit mediaOut->ConvertionAsked(0, nullptr);
    EXPECT_EQ(Window().GetProgressBar()->value(), -1);
    Window().GetProgressBar()->setValue(50);
    CBatchInfoList list;
    B32 result = 0;
    emit t.mpBatchDestinationPanel->LaunchAsked(&list, 0, result);
    EXPECT_EQ(Window().GetProgressBar()->value(), -1);
}

} // namespace
