#include "Documents/CDocumentAbstract.h"
#include "Plugin/CPluginBase.h"
#include "PluginTestSupport.h"

#include <QDir>
#include <QFile>
#include <QMetaMethod>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
int g_DocumentsAlive = 0;

class CCountedDocument : public CDocumentAbstract
{
public:
    CCountedDocument() { ++g_DocumentsAlive; }
    ~CCountedDocument() override { --g_DocumentsAlive; }
};

// The smallest converter: it only gives access to the protected state.
class CProbeConverter : public CPluginBase
{
public:
    int GetDocumentType() override { return CDocument::ABSTRACT; }
    int GetPreviewDocumentType() override { return CDocument::ABSTRACT; }
    int GetConverterType() override { return EXPORTER; }
    int GetImportExtensionCount() override { return 0; }
    QString GetImportExtension(int) override { return QString(); }
    QString GetExportExtension() override { return QStringLiteral("PRB"); }
    QString GetDescription() override { return QStringLiteral("Probe"); }
    QString GetParametersFileName() override { return QString(); }
    CDocument* Import(const QByteArray&) override { return nullptr; }
    bool Convert(CDocument*) override
    {
        emit SetProgress(QStringLiteral("half"), 50);
        return true;
    }

    QList<QByteArray>& Chunks() { return mRawDataList; }
    void SetPreview(CDocument* document) { mpPreviewDocument = document; }
};

struct Report
{
    QString title;
    QString text;
    int count = 0;
};
Report g_Report;
void CaptureReport(const QString& title, const QString& text)
{
    g_Report.title = title;
    g_Report.text = text;
    ++g_Report.count;
}

// Installs the capturing reporter for one test.
class ScopedReporter
{
public:
    ScopedReporter()
    {
        g_Report = Report();
        m_Previous = CPluginBase::SetResourceFailureReporter(CaptureReport);
    }
    ~ScopedReporter() { CPluginBase::SetResourceFailureReporter(m_Previous); }

private:
    CPluginBase::ResourceFailureReporter m_Previous;
};
} // namespace

TEST(PluginBase, ProgressSignalCarriesItsNames)
{
    const int index = CPluginBase::staticMetaObject.indexOfSignal("SetProgress(QString,int)");
    ASSERT_GE(index, 0);
    const QMetaMethod signal = CPluginBase::staticMetaObject.method(index);
    EXPECT_EQ(signal.parameterNames(), (QList<QByteArray>{"text", "progress"}));

    CProbeConverter converter;
    QString text;
    int progress = -1;
    QObject::connect(&converter, &CPluginBase::SetProgress, [&](const QString t, int p) {
        text = t;
        progress = p;
    });
    EXPECT_TRUE(converter.Convert(nullptr));
    EXPECT_EQ(text, QStringLiteral("half"));
    EXPECT_EQ(progress, 50);
}

TEST(PluginBase, JoinsChunksInOrder)
{
    CProbeConverter converter;
    converter.Chunks() << QByteArray("abc") << QByteArray() << QByteArray("de");
    std::unique_ptr<CDocumentAbstract> document(converter.GetRawDataAsDocument());
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->GetDocType(), 1);
    EXPECT_TRUE(document->GetName().isEmpty());
    EXPECT_EQ(document->GetSize(), 5u);
    EXPECT_EQ(document->ToByteArray(), QByteArray("abcde"));
    // The chunks stay with the converter until the host empties the list.
    EXPECT_EQ(converter.GetRawDataList().size(), 3);
}

TEST(PluginBase, NoChunksGiveAnEmptyDocument)
{
    CProbeConverter converter;
    std::unique_ptr<CDocumentAbstract> document(converter.GetRawDataAsDocument());
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->GetSize(), 0u);
    EXPECT_EQ(document->GetData(), nullptr);
}

TEST(PluginBase, ClearRawDataEmptiesTheList)
{
    CProbeConverter converter;
    converter.Chunks() << QByteArray("abc") << QByteArray("de");
    converter.ClearRawData();
    EXPECT_TRUE(converter.GetRawDataList().isEmpty());
    EXPECT_EQ(0, converter.GetRawDataList().count());
}

TEST(PluginBase, TakePreviewDocumentHandsItOver)
{
    g_DocumentsAlive = 0;
    CDocument* taken = nullptr;
    {
        CProbeConverter converter;
        CCountedDocument* preview = new CCountedDocument;
        converter.SetPreview(preview);
        EXPECT_EQ(converter.GetPreviewDocument(), preview);
        taken = converter.TakePreviewDocument();
        EXPECT_EQ(taken, preview);
        EXPECT_EQ(converter.GetPreviewDocument(), nullptr);
        EXPECT_EQ(converter.TakePreviewDocument(), nullptr);
    }
    EXPECT_EQ(g_DocumentsAlive, 1); // the converter let go of it
    delete taken;
    EXPECT_EQ(g_DocumentsAlive, 0);
}

TEST(PluginBase, PreviewNotTakenDiesWithTheConverter)
{
    g_DocumentsAlive = 0;
    {
        CProbeConverter converter;
        converter.SetPreview(new CCountedDocument);
        EXPECT_EQ(g_DocumentsAlive, 1);
    }
    EXPECT_EQ(g_DocumentsAlive, 0);
}

TEST(PluginBase, MissingLanguageFileIsReportedThroughTheHook)
{
    ScopedAppFolder unset(nullptr);
    ScopedReporter reporter;
    CProbeConverter converter;
    EXPECT_EQ(converter.LoadResources(), 0);
    EXPECT_EQ(g_Report.count, 1);
    EXPECT_EQ(g_Report.title, QStringLiteral("Fatal Error"));
    EXPECT_EQ(g_Report.text, QStringLiteral("Ressources file not found!\nPlease refer to documentation..."));
}

TEST(PluginBase, DefaultReporterOnlyWarns)
{
    const QByteArray folder("/nonexistent-orvane-folder");
    ScopedAppFolder missing(&folder);
    CPluginBase::ResourceFailureReporter previous = CPluginBase::SetResourceFailureReporter(nullptr);
    MessageCapture catcher;
    CProbeConverter converter;
    EXPECT_EQ(converter.LoadResources(), 0);
    CPluginBase::SetResourceFailureReporter(previous);
    ASSERT_EQ(catcher.Messages().size(), 1);
    EXPECT_TRUE(catcher.Messages().first().startsWith(QStringLiteral("Fatal Error: Ressources file not found!")));
}

TEST(PluginBase, LoadsTheLanguageFileOfTheAppFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Languages")));
    ASSERT_TRUE(WriteFileBytes(dir.filePath(QStringLiteral("Languages/English.xml")),
                               "<Language><class name=\"CProbeConverter\"><message>"
                               "<string id=\"id_probe\" value=\"Probe text\"/></message></class></Language>"));

    const QByteArray folder = QFile::encodeName(dir.path());
    ScopedAppFolder set(&folder);
    ScopedReporter reporter;
    CProbeConverter converter;
    EXPECT_EQ(converter.LoadResources(), 1);
    EXPECT_EQ(g_Report.count, 0);
}
