// The parameter view and its table: the form built from a parameter file, and every edit path back into the set.
#include "Gui/Parameters/CParameterScrollArea.h"
#include "Gui/Parameters/CParameterView.h"
#include "Gui/Parameters/ParameterTable.h"
#include "Parameters/CInterfaceNode.h"
#include "Parameters/CParameter.h"
#include "Parameters/CParameters.h"
#include "Text/CLanguageResources.h"
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <memory>

namespace {

QString Message(const char* id)
{
    return CLanguageResources::GetMessage(QStringLiteral("CParameterView"), QString::fromLatin1(id));
}

class ParameterViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!qApp) {
            static int argc = 1;
            static char name[] = "ParameterViewTest";
            static char* argv[] = {name, nullptr};
            m_Qt = std::make_unique<QApplication>(argc, argv);
        }
        ASSERT_TRUE(CLanguageResources::Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Languages/English.xml")));
        m_View = std::make_unique<CParameterView>(nullptr);
    }
    void TearDown() override
    {
        m_View.reset();
        m_Set.reset();
        m_Qt.reset();
    }

    // Loads a parameter file made of these parameters and interface nodes, and shows it.
    void Show(const char* parameters, const char* interface)
    {
        const QByteArray xml = QByteArray("<?xml version=\"1.0\"?><TestParameters><TSECTION>"
                                          "<TYPE NAME=\"Boolean\"/><TYPE NAME=\"Integer\"/><TYPE NAME=\"Float\"/>"
                                          "<TYPE NAME=\"String\"/><ENUM NAME=\"Colours\" VALUES=\"Red Green Blue\"/>"
                                          "</TSECTION><PSECTION>")
                               + parameters + "</PSECTION><ISECTION>" + interface + "</ISECTION></TestParameters>";
        const QString path = m_Folder.filePath(QStringLiteral("Test.xml"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(xml);
        file.close();
        ShowFile(path);
    }
    void ShowFile(const QString& path)
    {
        m_View->SetParameters(nullptr);
        m_Set = std::make_unique<CParameters>();
        ASSERT_TRUE(m_Set->Load(path)) << path.toStdString();
        m_View->SetParameters(m_Set.get());
        m_View->show();
    }
    template <typename T>
    T* ElementAt(int index)
    {
        const QList<Element*>& elements = m_View->GetElements();
        return index < elements.size() ? dynamic_cast<T*>(elements.at(index)) : nullptr;
    }
    // Types into a value widget as the user does, then moves the focus away.
    void TypeAndLeave(QWidget* widget, const QString& text, bool clear = true)
    {
        widget->setFocus();
        if (auto* line = qobject_cast<QLineEdit*>(widget); line && clear)
            line->clear();
        if (auto* spin = qobject_cast<QSpinBox*>(widget); spin && clear)
            spin->clear();
        QTest::keyClicks(widget, text);
        Leave(widget);
    }
    static void Leave(QWidget* widget)
    {
        QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
        QApplication::sendEvent(widget, &out);
    }
    static QString PrefixOf(SimpleElement* element)
    {
        const QList<QLabel*> labels = element->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
        return labels.size() >= 2 ? labels.at(1)->text() : QString();
    }

    std::unique_ptr<QApplication> m_Qt;
    QTemporaryDir m_Folder;
    std::unique_ptr<CParameters> m_Set;
    std::unique_ptr<CParameterView> m_View;
};

// ---- every shipped parameter file: one element per shown input or table, of the class its control asks for

int CountShown(const QList<CInterfaceNode*>& nodes, QStringList& classes)
{
    int count = 0;
    for (CInterfaceNode* node : nodes) {
        if (node->mKind == CInterfaceNode::GROUP) {
            count += CountShown(static_cast<CInterfaceGroup*>(node)->mInputs, classes);
        } else if (node->mKind == CInterfaceNode::TABLE) {
            classes.append(QStringLiteral("Table"));
            ++count;
        } else {
            auto* input = static_cast<CInterfaceInput*>(node);
            if (!input->mpParameter || input->mControlType == CInterfaceInput::LISTBOX || input->mControlType < 0)
                continue;
            static const char* const kByControl[] = {"Label", "EDITBOX", "CheckBox", "", "ComboBox"};
            QString name = QString::fromLatin1(kByControl[input->mControlType]);
            if (name == QStringLiteral("EDITBOX"))
                name = input->mpParameter->mType == CParameter::INT_TYPE ? QStringLiteral("SpinEdit")
                                                                         : QStringLiteral("LineEdit");
            classes.append(name);
            ++count;
        }
    }
    return count;
}

TEST_F(ParameterViewTest, EveryShippedFileGivesOneElementOfItsControlPerShownInput)
{
    const QDir folder(QStringLiteral(ORV_SOURCE_DIR "/data/app/Plugins/Parameters"));
    const QStringList files = folder.entryList({QStringLiteral("*.xml")}, QDir::Files);
    ASSERT_GE(files.size(), 9);
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        ShowFile(folder.filePath(name));
        QStringList expected;
        const int count = CountShown(m_Set->GetInterfaceNodes(), expected);
        QStringList built;
        for (Element* element : m_View->GetElements())
            built.append(QString::fromLatin1(element->metaObject()->className()));
        // Groups add their elements after the ones built before them, in file order, as the walk above does.
        EXPECT_EQ(built, expected);
        EXPECT_EQ(m_View->GetElements().size(), count);
        EXPECT_EQ(m_View->GetResetAllButton() != nullptr, count > 0);
    }
}

// ---- single inputs

TEST_F(ParameterViewTest, AnEmptyInterfaceShowsNothingNotEvenTheResetButton)
{
    Show("<DATA NAME=\"A\" TYPE=\"Integer\" VALUE=\"1\"/>", "");
    EXPECT_TRUE(m_View->GetElements().isEmpty());
    EXPECT_EQ(m_View->GetResetAllButton(), nullptr);
    m_View->SetParameters(nullptr);
    EXPECT_TRUE(m_View->findChildren<QPushButton*>().isEmpty());
}

TEST_F(ParameterViewTest, RangeTextsFollowTheBoundsThatAreSet)
{
    Show("<DATA NAME=\"Both\" TYPE=\"Integer\" VALUE=\"1\" MIN=\"-5\" MAX=\"10\"/>"
         "<DATA NAME=\"OnlyMax\" TYPE=\"Float\" VALUE=\"1\" MAX=\"2.5\"/>"
         "<DATA NAME=\"OnlyMin\" TYPE=\"Integer\" VALUE=\"1\" MIN=\"0\"/>"
         "<DATA NAME=\"Free\" TYPE=\"Float\" VALUE=\"1\"/>",
         "<INPUT REF=\"Both\" TYPE=\"EDITBOX\" PREFIX=\"Pre \"/>"
         "<INPUT REF=\"OnlyMax\" TYPE=\"EDITBOX\"/>"
         "<INPUT REF=\"OnlyMin\" TYPE=\"EDITBOX\"/>"
         "<INPUT REF=\"Free\" TYPE=\"EDITBOX\" PREFIX=\"Alone\"/>");
    auto* both = ElementAt<SpinEdit>(0);
    ASSERT_NE(both, nullptr);
    EXPECT_EQ(both->GetSpinBox()->minimum(), -5);
    EXPECT_EQ(both->GetSpinBox()->maximum(), 10);
    EXPECT_EQ(PrefixOf(both),
              QStringLiteral("Pre ") + Message("id_min_max").arg(QStringLiteral("-5"), QStringLiteral("10")));
    EXPECT_EQ(PrefixOf(ElementAt<LineEdit>(1)), Message("id_max").arg(QStringLiteral("2.5")));
    EXPECT_EQ(PrefixOf(ElementAt<SpinEdit>(2)), Message("id_min").arg(QStringLiteral("0")));
    EXPECT_EQ(PrefixOf(ElementAt<LineEdit>(3)), QStringLiteral("Alone"));
    // Value widgets start in one column.
    EXPECT_EQ(both->GetSpinBox()->width(), ElementAt<LineEdit>(3)->GetEdit()->width());
}

TEST_F(ParameterViewTest, ListBoxesUnknownControlsAndMissingParametersAreSkipped)
{
    Show("<DATA NAME=\"A\" TYPE=\"Integer\" VALUE=\"1\"/><DATA NAME=\"B\" TYPE=\"String\" VALUE=\"x\"/>",
         "<INPUT REF=\"A\" TYPE=\"LISTBOX\"/><INPUT REF=\"B\" TYPE=\"LABEL\"/>");
    ASSERT_EQ(m_View->GetElements().size(), 1);
    EXPECT_EQ(ElementAt<Label>(0)->GetValueText(), QStringLiteral("x"));
}

struct SignCase
{
    const char* min;
    const char* typed;
    QValidator::State state;
    const char* text; // what the validator leaves of the text
};

TEST_F(ParameterViewTest, ALoneSignIsEmptiedUnlessTheBoundsAllowIt)
{
    const SignCase cases[] = {{"0", "-", QValidator::Invalid, ""},
                              {"-1", "-", QValidator::Intermediate, "-"},
                              {"0", "+", QValidator::Intermediate, "+"},
                              {"0", "x", QValidator::Invalid, ""}};
    for (const SignCase& c : cases) {
        SCOPED_TRACE(c.min);
        Show(
            (QByteArray("<DATA NAME=\"F\" TYPE=\"Float\" VALUE=\"0.5\" MAX=\"9\" MIN=\"") + c.min + "\"/>").constData(),
            "<INPUT REF=\"F\" TYPE=\"EDITBOX\"/>");
        Edit* edit = ElementAt<LineEdit>(0)->GetEdit();
        QString text = QString::fromLatin1(c.typed);
        int pos = 1;
        EXPECT_EQ(edit->validator()->validate(text, pos), c.state);
        EXPECT_EQ(text, QString::fromLatin1(c.text));
        // Typed over the whole line: an invalid text is refused and the line keeps its value.
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromLatin1(c.typed));
        EXPECT_EQ(edit->text(), c.state == QValidator::Invalid ? QStringLiteral("0.5") : QString::fromLatin1(c.typed));
        EXPECT_EQ(m_Set->GetFloatParameter(QStringLiteral("F"))->mValue, 0.5f);
    }
}

TEST_F(ParameterViewTest, ANumberAboveTheMaximumIsStoredClampedAtOnce)
{
    Show("<DATA NAME=\"I\" TYPE=\"Integer\" VALUE=\"5\" MIN=\"0\" MAX=\"100\"/>",
         "<INPUT REF=\"I\" TYPE=\"EDITBOX\"/>");
    SpinEdit* element = ElementAt<SpinEdit>(0);
    QSpinBox* spin = element->GetSpinBox();
    spin->setFocus();
    spin->selectAll();
    QTest::keyClicks(spin, QStringLiteral("500"));
    EXPECT_EQ(m_Set->GetIntParameter(QStringLiteral("I"))->mValue, 100);
    Leave(spin);
    EXPECT_EQ(spin->text(), QStringLiteral("100"));
    EXPECT_EQ(m_Set->GetIntParameter(QStringLiteral("I"))->mValue, 100);
    // The mouse leaving the box while a number is typed keeps that number.
    spin->setFocus();
    spin->selectAll();
    QTest::keyClicks(spin, QStringLiteral("42"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(spin, &leave);
    EXPECT_EQ(spin->value(), 42);
    EXPECT_EQ(m_Set->GetIntParameter(QStringLiteral("I"))->mValue, 42);
}

TEST_F(ParameterViewTest, ABoolInAnEditBoxTakesOnlyTrueOrFalseAndAnEmptiedLineGetsTheOldValue)
{
    Show("<DATA NAME=\"B\" TYPE=\"Boolean\" VALUE=\"true\"/>", "<INPUT REF=\"B\" TYPE=\"EDITBOX\"/>");
    LineEdit* element = ElementAt<LineEdit>(0);
    Edit* edit = element->GetEdit();
    EXPECT_EQ(edit->text(), QStringLiteral("true"));
    edit->setFocus();
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("maybe"));
    EXPECT_FALSE(edit->hasAcceptableInput());
    QSignalSpy changed(m_View.get(), &CParameterView::Changed);
    edit->clear();
    Leave(edit);
    EXPECT_EQ(edit->text(), QStringLiteral("true"));
    EXPECT_TRUE(m_Set->GetBoolParameter(QStringLiteral("B"))->mValue);
    EXPECT_EQ(changed.count(), 0);
    TypeAndLeave(edit, QStringLiteral("false"));
    EXPECT_FALSE(m_Set->GetBoolParameter(QStringLiteral("B"))->mValue);
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(ParameterViewTest, AFloatKeepsEveryDigitThroughDisplayResetAndFocusChanges)
{
    Show("<DATA NAME=\"F\" TYPE=\"Float\" VALUE=\"0.123456789\" MIN=\"0\" MAX=\"1\"/>"
         "<DATA NAME=\"G\" TYPE=\"Integer\" VALUE=\"500\" MIN=\"0\" MAX=\"1000\"/>",
         "<INPUT REF=\"F\" TYPE=\"EDITBOX\"/><INPUT REF=\"G\" TYPE=\"CHECKBOX\"/>");
    const float exact = 0.123456789f;
    CFloatParameter* f = m_Set->GetFloatParameter(QStringLiteral("F"));
    EXPECT_EQ(f->mValue, exact);
    Edit* edit = ElementAt<LineEdit>(0)->GetEdit();
    EXPECT_EQ(edit->text(), QStringLiteral("0.123457"));
    edit->setFocus();
    Leave(edit);
    EXPECT_EQ(f->mValue, exact);
    m_View->ResetAll();
    EXPECT_EQ(f->mValue, exact);
    edit->setFocus();
    Leave(edit);
    EXPECT_EQ(f->mValue, exact);
    // An integer shown as a check box is shown as on, and keeps its value.
    EXPECT_TRUE(ElementAt<CheckBox>(1)->GetCheckBox()->isChecked());
    EXPECT_EQ(m_Set->GetIntParameter(QStringLiteral("G"))->mValue, 500);
}

TEST_F(ParameterViewTest, AConstantParameterIsShownDisabledAndNeverWritten)
{
    Show("<DATA NAME=\"I\" TYPE=\"Integer\" VALUE=\"5\" MIN=\"0\" MAX=\"100\" CONST=\"yes\"/>"
         "<DATA NAME=\"C\" TYPE=\"Colours\" VALUE=\"Green\"/>",
         "<INPUT REF=\"I\" TYPE=\"EDITBOX\"/><INPUT REF=\"C\" TYPE=\"COMBOBOX\"/>");
    SpinEdit* element = ElementAt<SpinEdit>(0);
    ASSERT_TRUE(m_Set->GetIntParameter(QStringLiteral("I"))->mIsConst);
    EXPECT_FALSE(element->isEnabled());
    element->SCheck(7);
    EXPECT_EQ(m_Set->GetIntParameter(QStringLiteral("I"))->mValue, 5);
    QComboBox* combo = ElementAt<ComboBox>(1)->GetComboBox();
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentText(), QStringLiteral("Green"));
    QSignalSpy changed(m_View.get(), &CParameterView::Changed);
    emit combo->activated(2);
    EXPECT_EQ(m_Set->GetEnumParameter(QStringLiteral("C"))->mValue, QStringLiteral("Blue"));
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(ParameterViewTest, UncheckingAGroupsControlDisablesTheGroupAndResetAllBringsItBack)
{
    Show("<DATA NAME=\"On\" TYPE=\"Boolean\" VALUE=\"true\"/><DATA NAME=\"N\" TYPE=\"Integer\" VALUE=\"3\"/>",
         "<INPUT REF=\"On\" TYPE=\"CHECKBOX\"/>"
         "<GROUP CAPTION=\"Inside\" CONTROL=\"On\"><INPUT REF=\"N\" TYPE=\"EDITBOX\"/></GROUP>");
    CheckBox* control = ElementAt<CheckBox>(0);
    QWidget* group = control->GetControlledWidget();
    ASSERT_NE(group, nullptr);
    ASSERT_NE(group->findChild<QGroupBox*>(), nullptr);
    EXPECT_TRUE(group->isEnabled());
    control->GetCheckBox()->click();
    EXPECT_FALSE(m_Set->GetBoolParameter(QStringLiteral("On"))->mValue);
    EXPECT_FALSE(group->isEnabled());
    EXPECT_TRUE(control->isEnabled());
    m_View->GetResetAllButton()->click();
    EXPECT_TRUE(m_Set->GetBoolParameter(QStringLiteral("On"))->mValue);
    EXPECT_TRUE(group->isEnabled());
}

TEST_F(ParameterViewTest, AGroupSwitchedOffInTheFileStartsDisabled)
{
    Show("<DATA NAME=\"On\" TYPE=\"Boolean\" VALUE=\"false\"/><DATA NAME=\"N\" TYPE=\"Integer\" VALUE=\"3\"/>",
         "<INPUT REF=\"On\" TYPE=\"CHECKBOX\"/>"
         "<GROUP CAPTION=\"Inside\" CONTROL=\"On\"><INPUT REF=\"N\" TYPE=\"EDITBOX\"/></GROUP>"
         "<GROUP CAPTION=\"Unlinked\" CONTROL=\"Nobody\"><INPUT REF=\"N\" TYPE=\"LABEL\"/></GROUP>");
    EXPECT_FALSE(ElementAt<CheckBox>(0)->GetControlledWidget()->isEnabled());
    EXPECT_TRUE(ElementAt<Label>(2)->isEnabledTo(m_View.get()));
}

TEST_F(ParameterViewTest, ReturnAndEnterStopAtTheViewOtherKeysGoOn)
{
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Enter, Qt::NoModifier);
    QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QApplication::sendEvent(m_View.get(), &enter);
    QApplication::sendEvent(m_View.get(), &other);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_FALSE(other.isAccepted());
}

// ---- tables

const char* const kTableData =
    "<VECTOR NAME=\"First\"><DATA NAME=\"F0\" TYPE=\"Integer\" VALUE=\"1\" MIN=\"0\" MAX=\"255\"/>"
    "<DATA NAME=\"F1\" TYPE=\"Integer\" VALUE=\"2\" MIN=\"0\" MAX=\"255\"/>"
    "<DATA NAME=\"F2\" TYPE=\"Integer\" VALUE=\"3\" MIN=\"0\" MAX=\"255\"/></VECTOR>"
    "<VECTOR NAME=\"Second\"><DATA NAME=\"S0\" TYPE=\"Integer\" VALUE=\"30\" MIN=\"0\" MAX=\"255\"/>"
    "<DATA NAME=\"S1\" TYPE=\"Integer\" VALUE=\"10\" MIN=\"0\" MAX=\"99\"/>"
    "<DATA NAME=\"S2\" TYPE=\"Integer\" VALUE=\"20\" MIN=\"0\" MAX=\"255\"/></VECTOR>";

QByteArray TableNode(const char* vertical,
                     const char* captions = "ROWSCAPTIONS=\"a_b_c_d\" COLUMNSCAPTIONS=\"One_Two_Three\"")
{
    return QByteArray("<TABLE CAPTION=\"T\" VERTICAL=\"") + vertical
           + "\" WITHDEFBUTTON=\"yes\" ALLOWSORT=\"yes\"><CAPTIONS " + captions
           + "/><ROWORCOLUMN REF=\"First\"/><ROWORCOLUMN REF=\"Second\"/></TABLE>";
}

int ValueAt(Table* table, int row, int column)
{
    auto* cell = static_cast<SimpleElement*>(table->GetCell(row, column));
    return static_cast<CIntParameter*>(cell->GetParameter())->mValue;
}

TEST_F(ParameterViewTest, AVerticalTableSortsWholeRowsByTheClickedColumn)
{
    Show(kTableData, TableNode("yes").constData());
    Table* table = ElementAt<Table>(0);
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->GetRowCount(), 4);
    ASSERT_EQ(table->GetColumnCount(), 3);
    auto* firstHeader = qobject_cast<PushButton*>(table->GetCell(0, 1));
    auto* secondHeader = qobject_cast<PushButton*>(table->GetCell(0, 2));
    ASSERT_NE(secondHeader, nullptr);
    EXPECT_EQ(firstHeader->text(),
              QStringLiteral("One") + Message("id_min_max").arg(QStringLiteral("0"), QStringLiteral("255")));
    EXPECT_EQ(secondHeader->text(), QStringLiteral("Two"));  // one cell has another range
    EXPECT_EQ(table->findChildren<PushButton*>().size(), 4); // two headers, two resets; the third caption has no column
    secondHeader->click();
    EXPECT_EQ(ValueAt(table, 1, 2), 10);
    EXPECT_EQ(ValueAt(table, 1, 1), 2); // the first vector's cells moved along
    EXPECT_EQ(qobject_cast<QLabel*>(table->GetCell(1, 0))->text(), QStringLiteral("b"));
    EXPECT_EQ(ValueAt(table, 3, 1), 1);
    // The set itself keeps its order.
    EXPECT_EQ(m_Set->GetVector(QStringLiteral("Second"))->mParameters.at(0)->mName, QStringLiteral("S0"));
}

TEST_F(ParameterViewTest, AHorizontalTableResetsTheJthParameterOfEveryVector)
{
    Show(kTableData, TableNode("no").constData());
    Table* table = ElementAt<Table>(0);
    ASSERT_EQ(table->GetRowCount(), 3);
    ASSERT_EQ(table->GetColumnCount(), 4);
    m_Set->GetIntParameter(QStringLiteral("F1"))->mValue = 50;
    m_Set->GetIntParameter(QStringLiteral("S1"))->mValue = 60;
    m_Set->GetIntParameter(QStringLiteral("S2"))->mValue = 70;
    table->Reset(2);
    EXPECT_EQ(m_Set->GetIntParameter(QStringLiteral("F1"))->mValue, 2);
    EXPECT_EQ(m_Set->GetIntParameter(QStringLiteral("S1"))->mValue, 10);
    EXPECT_EQ(m_Set->GetIntParameter(QStringLiteral("S2"))->mValue, 70);
    EXPECT_EQ(ValueAt(table, 2, 2), 10);
    // Row captions carry their vector's range now.
    EXPECT_EQ(qobject_cast<QLabel*>(table->GetCell(1, 0))->text(),
              QStringLiteral("a") + Message("id_min_max").arg(QStringLiteral("0"), QStringLiteral("255")));
}

TEST_F(ParameterViewTest, OneDataRowOnlyRelaysAndShortVectorsSortLast)
{
    Show("<VECTOR NAME=\"A\"><DATA NAME=\"A0\" TYPE=\"Boolean\" VALUE=\"true\"/></VECTOR>",
         "<TABLE VERTICAL=\"yes\" WITHDEFBUTTON=\"no\" ALLOWSORT=\"yes\"><CAPTIONS ROWSCAPTIONS=\"r\" "
         "COLUMNSCAPTIONS=\"c\"/><ROWORCOLUMN REF=\"A\"/></TABLE>");
    Table* table = ElementAt<Table>(0);
    ASSERT_EQ(table->GetRowCount(), 2);
    table->Sort(1);
    EXPECT_NE(table->GetCell(1, 1), nullptr);
    EXPECT_TRUE(table->findChildren<PushButton*>().size() == 1);

    Show(
        "<VECTOR NAME=\"Long\"><DATA NAME=\"L0\" TYPE=\"Integer\" VALUE=\"9\"/><DATA NAME=\"L1\" TYPE=\"Integer\" VALUE=\"8\"/>"
        "<DATA NAME=\"L2\" TYPE=\"Integer\" VALUE=\"7\"/></VECTOR>"
        "<VECTOR NAME=\"Short\"><DATA NAME=\"S0\" TYPE=\"Float\" VALUE=\"5\"/></VECTOR>",
        "<TABLE VERTICAL=\"yes\" WITHDEFBUTTON=\"no\" ALLOWSORT=\"yes\"><CAPTIONS ROWSCAPTIONS=\"x_y_z\" "
        "COLUMNSCAPTIONS=\"l_s\"/><ROWORCOLUMN REF=\"Long\"/><ROWORCOLUMN REF=\"Short\"/></TABLE>");
    table = ElementAt<Table>(0);
    ASSERT_EQ(table->GetRowCount(), 4);
    table->Sort(2);
    EXPECT_NE(table->GetCell(1, 2), nullptr);
    EXPECT_EQ(ValueAt(table, 2, 1), 8);
    EXPECT_EQ(ValueAt(table, 3, 1), 7);
    table->Sort(1);
    EXPECT_EQ(ValueAt(table, 1, 1), 7);
    EXPECT_EQ(table->GetCell(3, 2) != nullptr, true);
}

TEST_F(ParameterViewTest, CellsAreOrderedByTypeThenValue)
{
    CBoolParameter no(false), yes(true);
    CIntParameter small(1, 0, 9), big(2, 0, 9);
    CStringParameter apple(QStringLiteral("apple")), Banana(QStringLiteral("Banana"));
    EXPECT_TRUE(IsParameterValueLess(&no, &yes));
    EXPECT_FALSE(IsParameterValueLess(&yes, &no));
    EXPECT_TRUE(IsParameterValueLess(&yes, &small)); // bool before integer
    EXPECT_TRUE(IsParameterValueLess(&small, &big));
    EXPECT_FALSE(IsParameterValueLess(&big, &big));
    EXPECT_TRUE(IsParameterValueLess(&Banana, &apple)); // by character codes
}

// ---- the wheel

// One notch of the wheel over the middle of the widget; down when delta is negative.
void Wheel(QWidget* widget, int delta)
{
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

// What every field of the form shows and what its parameter holds.
QStringList Shown(const QList<SimpleElement*>& fields)
{
    QStringList shown;
    for (SimpleElement* field : fields) {
        QWidget* value = field->GetValueWidget();
        QString text = field->GetValueText();
        if (auto* spin = qobject_cast<QSpinBox*>(value))
            text += QLatin1Char('|') + spin->text();
        if (auto* combo = qobject_cast<QComboBox*>(value))
            text += QLatin1Char('|') + combo->currentText();
        if (auto* check = qobject_cast<QCheckBox*>(value))
            text += check->isChecked() ? QStringLiteral("|on") : QStringLiteral("|off");
        shown.append(text);
    }
    return shown;
}

// Rolled over a field the user has not clicked or tabbed into, the wheel scrolls the form and changes no value,
// whatever the field: spin box, combo box, check box, line or table cell. A field that has the focus takes it.
TEST_F(ParameterViewTest, TheWheelScrollsTheFormOverEveryFieldTheUserHasNotTaken)
{
    CParameterScrollArea area(nullptr);
    m_Set = std::make_unique<CParameters>();
    ASSERT_TRUE(m_Set->Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Plugins/Parameters/MSEQParameters.xml")));
    area.ShowParameters(m_Set.get());
    area.resize(500, 160);
    area.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    QScrollBar* bar = area.verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0) << area.widget()->sizeHint().height() << " " << m_View->GetElements().size();

    const QList<SimpleElement*> fields = area.widget()->findChildren<SimpleElement*>();
    QSet<QString> kinds;
    for (SimpleElement* field : fields)
        kinds.insert(QString::fromLatin1(field->metaObject()->className())
                     + (field->parentWidget() && qobject_cast<Table*>(field->parentWidget()) ? QStringLiteral(" cell")
                                                                                             : QString()));
    EXPECT_TRUE(kinds.contains(QStringLiteral("SpinEdit")) && kinds.contains(QStringLiteral("ComboBox"))
                && kinds.contains(QStringLiteral("CheckBox")) && kinds.contains(QStringLiteral("SpinEdit cell")))
        << QStringList(kinds.values()).join(QLatin1Char(',')).toStdString();

    const QStringList before = Shown(fields);
    for (SimpleElement* field : fields) {
        SCOPED_TRACE(field->GetParameter() ? field->GetParameter()->mName.toStdString() : std::string());
        for (const int delta : {-120, 120}) {
            const int start = delta < 0 ? 0 : bar->maximum();
            bar->setValue(start);
            Wheel(field->GetValueWidget(), delta);
            EXPECT_NE(bar->value(), start) << delta;
        }
    }
    EXPECT_EQ(Shown(fields), before);

    // Clicked into, a spin box turns with the wheel.
    area.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&area));
    SpinEdit* spin = nullptr;
    for (SimpleElement* field : fields)
        if (auto* candidate = dynamic_cast<SpinEdit*>(field); !spin && candidate && candidate->isEnabled())
            spin = candidate;
    ASSERT_NE(spin, nullptr);
    const int value = spin->GetSpinBox()->value();
    const int step = value < spin->GetSpinBox()->maximum() ? 120 : -120;
    spin->GetSpinBox()->setFocus();
    ASSERT_TRUE(spin->GetSpinBox()->hasFocus());
    Wheel(spin->GetSpinBox(), step);
    EXPECT_NE(spin->GetSpinBox()->value(), value);
}

} // namespace
