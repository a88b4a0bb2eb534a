// Each reader's limit on the window's paths, with the shipped plug-ins: an animation description and an e-card
// larger than their readers take are refused from their size, the limit named, before a byte is read.
#include "Core/CBatchInfo.h"
#include "Core/CGenerationInfo.h"
#include "GuiTestSupport.h"
#include "Parameters/CParameters.h"
#include "Parameters/CProfile.h"
#include "QtPrinters.h"
#include <QFile>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

#ifdef __SANITIZE_ADDRESS__
// The sanitizer's shadow memory and quarantine count in the peak; the program's own is not seen.
constexpr bool kPeakIsTheProcesssOwn = false;
#else
constexpr bool kPeakIsTheProcesssOwn = true;
#endif

long PeakKb()
{
    struct rusage usage = {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

class ReaderLimitsTest : public AppFolderWindowTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        StartWindow(ORV_APP_DIR);
        const QList<CProfile*>& profiles = m_Application->GetProfileList();
        for (int i = 0; i < profiles.size(); ++i)
            if (profiles.at(i)->GetMobileName() == QLatin1String("Model B"))
                m_Application->SetCurrentProfile(i);
        ASSERT_EQ(m_Application->GetCurrentProfile()->GetMobileName(), QStringLiteral("Model B"));
    }
    // A file of that many bytes that takes no room on the disk.
    QString Sparse(const char* name, qint64 bytes)
    {
        QFile file(In(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_TRUE(file.resize(bytes));
        return file.fileName();
    }
};

TEST_F(ReaderLimitsTest, LargerThanItsReaderTakesASourceIsRefusedUnreadOnEveryPathOfTheWindow)
{
    const QString description = Sparse("big.anim", qint64(200) << 20);
    const QString ecard = Sparse("big.ecd", qint64(20) << 20);
    const auto refused = [](const QString& path) {
        return QStringLiteral("The file %1 could not be read.\nReason: it is larger than 16777216 bytes.").arg(path);
    };
    const long before = PeakKb();

    // The media tab.
    NewLog();
    m_GuiPrompt.mShown.clear();
    QString path = description;
    B32 loaded = 7;
    m_Application->LoadMediaAsked(path, ConverterIndex("ANI"), loaded);
    EXPECT_EQ(loaded, 0);
    EXPECT_EQ(NewLog(), QStringLiteral("Opening %1\n").arg(description) + refused(description) + QLatin1Char('\n'));
    ASSERT_EQ(m_GuiPrompt.mShown.size(), 1u);
    EXPECT_TRUE(m_GuiPrompt.mShown[0].text.contains(QStringLiteral("is larger than 16777216 bytes")))
        << qPrintable(m_GuiPrompt.mShown[0].text);

    // The SMS tab: the form fitted to the source, then the translation.
    const int translator = TranslatorIndex("EMS_SMS");
    CParameters* parameters = nullptr;
    QString source = ecard;
    m_Application->GetTraductorParameters(translator, &parameters, source);
    ASSERT_NE(parameters, nullptr);
    m_GuiPrompt.mShown.clear();
    NewLog();
    CGenerationInfo info(ecard, translator, parameters, m_Start);
    m_Application->TranslationAsked(&info, QString());
    EXPECT_TRUE(NewLog().contains(refused(ecard)));
    ASSERT_EQ(m_GuiPrompt.mShown.size(), 1u);
    EXPECT_TRUE(m_GuiPrompt.mShown[0].text.contains(QStringLiteral("is larger than 16777216 bytes")))
        << qPrintable(m_GuiPrompt.mShown[0].text);

    // The batch tab.
    CBatchInfoList list;
    list.append(new CBatchInfo({description}, EntryIndex("ANI"), QString(), m_Start));
    list.append(new CBatchInfo({ecard}, EntryIndex("EMS_SMS"), QString(), m_Start));
    m_GuiPrompt.mShown.clear();
    B32 result = 7;
    m_Application->LaunchAsked(&list, 0, result);
    EXPECT_EQ(result, 0);
    const QString log = NewLog();
    EXPECT_TRUE(log.contains(refused(description))) << qPrintable(log);
    EXPECT_TRUE(log.contains(refused(ecard))) << qPrintable(log);

    // Reading any of them would raise the peak by its size at least.
    if (kPeakIsTheProcesssOwn) {
        EXPECT_LT(PeakKb() - before, 8 * 1024);
    }
}

} // namespace
