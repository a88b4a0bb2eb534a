// The batch tab's parameter panel: one row per converter, and the batch file that keeps the rows.
#include "Gui/Browsing/CSelectorEdit.h"
#include "Gui/Panels/CParamsSelectorPanel.h"
#include "Gui/Window/COrvTabview.h"
#include "GuiTestSupport.h"
#include "QtPrinters.h"
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

namespace {

class BatchFileTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        m_Panel = Tabs().mpParamsSelectorPanel;
        // The rows are the converters the test names.
        QObject::disconnect(m_Panel, &CParamsSelectorPanel::GetEntireNameList, nullptr, nullptr);
        QObject::connect(m_Panel, &CParamsSelectorPanel::GetEntireNameList, m_Panel,
                         [this](QStringList& names) { names = m_Names; });
    }
    void Show(const QStringList& names)
    {
        m_Names = names;
        m_Panel->show();
    }
    // Sets the rows: a file name per row, checked when it ends in "*".
    void SetRows(const QStringList& rows)
    {
        for (int i = 0; i < rows.size(); ++i) {
            QString text = rows.at(i);
            const bool checked = text.endsWith(QLatin1Char('*'));
            if (checked)
                text.chop(1);
            m_Panel->GetRows().at(i)->SetFileName(text);
            m_Panel->GetRows().at(i)->GetCheckBox()->setChecked(checked);
        }
    }
    QStringList Rows() const
    {
        QStringList rows;
        for (const CSelectorEdit* row : m_Panel->GetRows())
            rows.append(row->GetFileName() + (row->GetCheckBox()->isChecked() ? QStringLiteral("*") : QString()));
        return rows;
    }
    void SaveAs(const QString& name)
    {
        m_GuiPrompt.mFileAnswer = name;
        m_Panel->GetSaveButton()->click();
    }
    void LoadFrom(const QString& name)
    {
        m_GuiPrompt.mFileAnswer = name;
        m_Panel->GetLoadButton()->click();
    }
    QStringList Messages() const { return m_GuiPrompt.Messages(); }
    // The box for a batch file that failed, its reason's sentence on the second line.
    static QString Failed(const char* titleId, const char* textId, const QString& file, const QString& reasonLine)
    {
        return GuiMessage("CParamsSelectorPanel", titleId) + QLatin1Char('|')
               + GuiMessage("CParamsSelectorPanel", textId).arg(file) + LF + reasonLine;
    }
    QString LoadFailed(const QString& file, const QString& reasonLine) const
    {
        return Failed("id_warning_title", "id_param_loaded_failed", file, reasonLine);
    }

    CParamsSelectorPanel* m_Panel = nullptr;
    QStringList m_Names;
};

TEST_F(BatchFileTest, ABatchFileKeepsEveryRowInOrder)
{
    Show({QStringLiteral("A"), QStringLiteral("B & C"), QStringLiteral("D")});
    EXPECT_EQ(Rows(), (QStringList{QString(), QString(), QString()}));
    SetRows({QStringLiteral("/p/a.xml*"), QString(), QStringLiteral("d \"q\" <\n>.xml")});
    SaveAs(In(QStringLiteral("batch")));
    EXPECT_EQ(QString::fromUtf8(ReadAll(In(QStringLiteral("batch.xml")))),
              QString::fromLatin1(
                  "<!DOCTYPE ORVANE_Batch_File>\n<ORVANE_Batch_File>\n"
                  "<PlugIn0 Caption=\"A\" FileName=\"/p/a.xml\" Checked=\"true\"/>\n"
                  "<PlugIn1 Caption=\"B &amp; C\" FileName=\"\" Checked=\"false\"/>\n"
                  "<PlugIn2 Caption=\"D\" FileName=\"d &quot;q&quot; &lt;&#xa;&gt;.xml\" Checked=\"false\"/>\n"
                  "</ORVANE_Batch_File>\n"));
    m_Panel->NewBatch();
    EXPECT_EQ(Rows(), (QStringList{QString(), QString(), QString()}));
    LoadFrom(In(QStringLiteral("batch.xml")));
    EXPECT_EQ(Rows(), (QStringList{QStringLiteral("/p/a.xml*"), QString(), QStringLiteral("d \"q\" <\n>.xml")}));
    EXPECT_TRUE(Messages().isEmpty());

    QStringList names{QStringLiteral("before")};
    m_Panel->GetParamsFileNameList(names);
    EXPECT_EQ(names, (QStringList{QStringLiteral("before"), QStringLiteral("/p/a.xml"), QString(),
                                  QStringLiteral("d \"q\" <\n>.xml")}));
    const struct
    {
        int row;
        B32 checked;
    } checks[] = {{0, 1}, {1, 0}, {2, 0}, {3, 0}, {-1, 0}, {300, 0}};
    for (const auto& check : checks) {
        B32 checked = 7;
        m_Panel->IsChecked(&checked, check.row);
        EXPECT_EQ(checked, check.checked) << check.row;
    }
}

TEST_F(BatchFileTest, XmlIsAppendedOnlyToANameWithoutItAndAnExistingFileIsAskedFor)
{
    Show({QStringLiteral("A")});
    const struct
    {
        const char* typed;
        const char* written;
    } names[] = {{"batch", "batch.xml"}, {"Batch.XML", "Batch.XML"}, {"my.xml.old", "my.xml.old"}};
    for (const auto& name : names) {
        SaveAs(In(QString::fromLatin1(name.typed)));
        EXPECT_TRUE(QFile::exists(In(QString::fromLatin1(name.written)))) << name.typed;
    }
    EXPECT_TRUE(m_GuiPrompt.mQuestions.isEmpty());
    EXPECT_EQ(m_GuiPrompt.mFileQuestions.last(), QStringLiteral("save||XML (*.XML *.xml)"));

    // "batch.xml" exists: No (the default) writes nothing, Yes replaces it.
    Write(QStringLiteral("batch.xml"), "old");
    SaveAs(In(QStringLiteral("batch")));
    ASSERT_EQ(m_GuiPrompt.mQuestions.size(), 1);
    EXPECT_EQ(m_GuiPrompt.mQuestions.at(0),
              GuiMessage("CParamsSelectorPanel", "id_warning_save_title") + QLatin1Char('|')
                  + GuiMessage("CParamsSelectorPanel", "id_overwrite_text").arg(In(QStringLiteral("batch.xml")))
                  + QStringLiteral("|Yes/No|1|1"));
    EXPECT_EQ(ReadAll(In(QStringLiteral("batch.xml"))), "old");
    m_GuiPrompt.mAnswers = {0};
    SaveAs(In(QStringLiteral("batch")));
    EXPECT_TRUE(ReadAll(In(QStringLiteral("batch.xml"))).contains("<ORVANE_Batch_File>"));

    // Cancelled: nothing asked, nothing written.
    SaveAs(QString());
    EXPECT_EQ(m_GuiPrompt.mQuestions.size(), 2);
    // A folder that does not exist: the write fails and says so.
    SaveAs(In(QStringLiteral("missing/b.xml")));
    EXPECT_EQ(Messages(),
              QStringList{Failed("id_warning_save_title", "id_param_saved_failed", In(QStringLiteral("missing/b.xml")),
                                 QStringLiteral("Reason: %1.").arg(QString::fromLocal8Bit(std::strerror(ENOENT))))});
}

TEST_F(BatchFileTest, ARowStoredForAnotherConverterIsLeftOutOfTheBatch)
{
    Show({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    SetRows({QStringLiteral("a.xml"), QStringLiteral("b.xml*"), QStringLiteral("c.xml*")});
    SaveAs(In(QStringLiteral("abc.xml")));
    // The phone now offers A and C: C reads B's element and must not take B's check.
    m_Names = {QStringLiteral("A"), QStringLiteral("C")};
    m_Panel->UpdateConverterList();
    EXPECT_EQ(Rows(), (QStringList{QString(), QString()}));
    SetRows({QStringLiteral("x*"), QStringLiteral("y*")});
    LoadFrom(In(QStringLiteral("abc.xml")));
    EXPECT_EQ(Rows(), (QStringList{QStringLiteral("a.xml"), QString()}));
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(m_Panel->GetRows().at(1)->GetCaption(), QStringLiteral("C"));
}

TEST_F(BatchFileTest, ShortOrMalformedFilesWarnAndLeaveUnreadRows)
{
    Show({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    SetRows({QStringLiteral("1*"), QStringLiteral("2*"), QStringLiteral("3*")});
    const QString shortFile =
        Write(QStringLiteral("short.xml"), "<ORVANE_Batch_File><PlugIn0 Caption=\"A\" FileName=\"f\" Checked=\"TRUE\"/>"
                                           "<PlugIn1 Caption=\"B\" Checked=\"1\"/></ORVANE_Batch_File>");
    LoadFrom(shortFile);
    // "TRUE" and "1" are not "true"; a missing file name keeps the row's.
    EXPECT_EQ(Rows(), (QStringList{QStringLiteral("f"), QStringLiteral("2"), QStringLiteral("3*")}));
    EXPECT_EQ(Messages(), QStringList{LoadFailed(shortFile, QStringLiteral("Reason: it has no PlugIn2 element."))});

    const QString broken = Write(QStringLiteral("broken.xml"), "<ORVANE_Batch_File><PlugIn0");
    LoadFrom(broken);
    EXPECT_EQ(Rows(), (QStringList{QStringLiteral("f"), QStringLiteral("2"), QStringLiteral("3*")}));
    EXPECT_EQ(Messages().size(), 2);
    EXPECT_EQ(Messages().last(), LoadFailed(broken, QStringLiteral("Reason: it is not a well-formed XML file.")));
    // The next dialog opens where the last file was.
    LoadFrom(QString());
    EXPECT_EQ(m_GuiPrompt.mFileQuestions.last(),
              QStringLiteral("open|") + m_Start + QStringLiteral("|XML (*.XML *.xml)"));
}

TEST_F(BatchFileTest, BeforeTheFirstShowThereAreNoRows)
{
    m_Names = {QStringLiteral("A")};
    m_Panel->UpdateConverterList();
    EXPECT_TRUE(m_Panel->GetRows().isEmpty());
    m_GuiPrompt.mFileAnswer = Write(QStringLiteral("one.xml"), "<ORVANE_Batch_File/>");
    m_Panel->Load();
    EXPECT_TRUE(Messages().isEmpty());
    // The dialog opens in its default folder: the panel has not asked for its path yet.
    EXPECT_EQ(m_GuiPrompt.mFileQuestions.last(), QStringLiteral("open||XML (*.XML *.xml)"));
    B32 checked = 1;
    m_Panel->IsChecked(&checked, 0);
    EXPECT_EQ(checked, 0);
}

TEST_F(BatchFileTest, ThreeHundredRowsReadBackRowByRow)
{
    QStringList names;
    QStringList rows;
    for (int i = 0; i < 300; ++i) {
        names.append(QStringLiteral("Conv%1").arg(i));
        rows.append(QStringLiteral("p%1.xml").arg(i) + (i % 3 == 0 ? QStringLiteral("*") : QString()));
    }
    Show(names);
    SetRows(rows);
    SaveAs(In(QStringLiteral("long.xml")));
    EXPECT_TRUE(ReadAll(In(QStringLiteral("long.xml"))).contains("<PlugIn299 Caption=\"Conv299\""));
    m_Panel->NewBatch();
    LoadFrom(In(QStringLiteral("long.xml")));
    EXPECT_EQ(Rows(), rows);
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(BatchFileTest, ARowsButtonChoosesItsParameterFile)
{
    Show({QStringLiteral("A"), QStringLiteral("B")});
    CSelectorEdit* row = m_Panel->GetRows().at(1);
    EXPECT_EQ(row->GetCheckBox()->objectName(), QStringLiteral("BRadioButton"));
    EXPECT_EQ(row->GetLineEdit()->objectName(), QStringLiteral("BLineEdit"));
    EXPECT_EQ(row->GetCheckBox()->width(), m_Panel->GetRows().at(0)->GetCheckBox()->width());
    m_GuiPrompt.mFileAnswer = In(QStringLiteral("params/p.xml"));
    row->GetOpenButton()->click();
    EXPECT_EQ(row->GetFileName(), In(QStringLiteral("params/p.xml")));
    EXPECT_EQ(m_GuiPrompt.mFileQuestions.last(),
              QStringLiteral("open|") + m_Start + QStringLiteral("|XML (*.XML *.xml)"));
    m_GuiPrompt.mFileAnswer.clear();
    row->GetOpenButton()->click();
    EXPECT_EQ(row->GetFileName(), In(QStringLiteral("params/p.xml")));
}

} // namespace
