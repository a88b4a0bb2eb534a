// Every converter parameter file shipped in the application folder loads, keeps
// each number within declared limits, and shows each parameter exactly once,
// with a caption, in its interface description.
#include "Parameters/CInterfaceNode.h"
#include "Parameters/CParameter.h"
#include "Parameters/CParameterVector.h"
#include "Parameters/CParameters.h"
#include "Xml/CXmlFile.h"

#include <QDir>
#include <QSet>
#include <cfloat>
#include <climits>
#include <gtest/gtest.h>
#include <iterator>

namespace {
QStringList AuthoredParameterFiles()
{
    const QDir folder(QStringLiteral(ORV_SOURCE_DIR "/data/app/Plugins/Parameters"));
    QStringList paths;
    for (const QString& name : folder.entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name))
        paths << folder.filePath(name);
    return paths;
}

// The inputs, and the cells of the tables (a table's rows or columns are
// parameter vectors, captioned by the table).
void CollectInputs(const QList<CInterfaceNode*>& nodes, QList<const CInterfaceInput*>& inputs,
                   QList<const CParameter*>& cells)
{
    for (const CInterfaceNode* node : nodes) {
        if (node->GetKind() == CInterfaceNode::INPUT)
            inputs << static_cast<const CInterfaceInput*>(node);
        else if (node->GetKind() == CInterfaceNode::GROUP)
            CollectInputs(static_cast<const CInterfaceGroup*>(node)->mInputs, inputs, cells);
        else if (node->GetKind() == CInterfaceNode::TABLE)
            for (const CParameterVector* vector : static_cast<const CInterfaceTable*>(node)->mVectors)
                for (const CParameter* parameter : vector->GetParameters())
                    cells << parameter;
    }
}
} // namespace

TEST(AuthoredParameterFiles, NumbersHaveLimitsAndEveryParameterIsShownOnce)
{
    const QStringList files = AuthoredParameterFiles();
    ASSERT_GE(files.size(), 3) << "the iMelody, EMS and TDD parameter files at least";
    for (const QString& path : files) {
        SCOPED_TRACE(QDir(path).dirName().toStdString());
        CParameters parameters;
        ASSERT_TRUE(parameters.Load(path));
        // A converter without settings ships a file that declares none and shows nothing.
        if (parameters.IsEmpty()) {
            EXPECT_TRUE(parameters.GetInterfaceNodes().isEmpty());
            continue;
        }

        for (const CParameter* parameter : parameters.GetParameterMap()) {
            SCOPED_TRACE(parameter->GetName().toStdString());
            if (parameter->GetType() == CParameter::INT_TYPE) {
                const CIntParameter* number = static_cast<const CIntParameter*>(parameter);
                EXPECT_NE(number->mMin, INT32_MIN) << "no MIN";
                EXPECT_NE(number->mMax, INT32_MAX) << "no MAX";
                EXPECT_LE(number->mMin, number->mValue);
                EXPECT_LE(number->mValue, number->mMax);
            } else if (parameter->GetType() == CParameter::FLOAT_TYPE) {
                const CFloatParameter* number = static_cast<const CFloatParameter*>(parameter);
                EXPECT_NE(number->mMin, -FLT_MAX) << "no MIN";
                EXPECT_NE(number->mMax, FLT_MAX) << "no MAX";
                EXPECT_LE(number->mMin, number->mValue);
                EXPECT_LE(number->mValue, number->mMax);
            }
        }

        QList<const CInterfaceInput*> inputs;
        QList<const CParameter*> cells;
        CollectInputs(parameters.GetInterfaceNodes(), inputs, cells);
        QSet<const CParameter*> shown;
        for (const CInterfaceInput* input : inputs) {
            ASSERT_NE(input->mpParameter, nullptr);
            EXPECT_FALSE(input->mCaption.isEmpty()) << input->mpParameter->GetName().toStdString();
            shown.insert(input->mpParameter);
        }
        for (const CParameter* cell : cells)
            shown.insert(cell);
        EXPECT_EQ(shown.size(), inputs.size() + cells.size()) << "a parameter shown twice";
        EXPECT_EQ(shown.size(), parameters.GetParameterMap().size()) << "a parameter not shown";
    }
}

namespace {
// The converter or translator names that the shipped files belong to.
struct Owner
{
    const char* file;
    const char* name;
    bool translator;
};
const Owner kOwners[] = {
    {"AniParameters.xml", "Brimsel animation converter", false},
    {"EMSParameters.xml", "EMS SMS translator", true},
    {"EmaParameters.xml", "EMS animation converter", false},
    {"IMYParameters.xml", "iMelody converter", false},
    {"MSEQParameters.xml", "SEQ converter", false},
    {"PicParameters.xml", "Brimsel picture converter", false},
    {"QBRParameters.xml", "IBrimsel Melody converter", false},
    {"TDDParameters.xml", "TDD SMS translator", true},
    {"VoxParameters.xml", "VOX converter", false},
};

// The key a converter panel looks for in the converter names: the text before "converter", lower-cased.
QString ConverterKey(QString content)
{
    const int at = content.indexOf(QStringLiteral("converter"), 0, Qt::CaseInsensitive);
    return at >= 0 ? content.left(at).toLower() : content;
}

// A group's check box stands before the group: inside, unchecking it would disable the box itself for good.
void ExpectControlsOutsideTheirGroups(const QList<CInterfaceNode*>& nodes)
{
    for (const CInterfaceNode* node : nodes) {
        if (node->GetKind() != CInterfaceNode::GROUP)
            continue;
        const auto* group = static_cast<const CInterfaceGroup*>(node);
        for (const CInterfaceNode* child : group->mInputs)
            if (child->GetKind() == CInterfaceNode::INPUT && !group->mControl.isEmpty()) {
                const CParameter* parameter = static_cast<const CInterfaceInput*>(child)->mpParameter;
                EXPECT_NE(parameter ? parameter->GetName() : QString(), group->mControl)
                    << "group " << group->mCaption.toStdString();
            }
        ExpectControlsOutsideTheirGroups(group->mInputs);
    }
}
} // namespace

TEST(AuthoredParameterFiles, EachNamesItsOwnConverterAndKeepsGroupSwitchesOutside)
{
    const QStringList files = AuthoredParameterFiles();
    EXPECT_EQ(files.size(), int(std::size(kOwners)));
    for (const Owner& owner : kOwners) {
        SCOPED_TRACE(owner.file);
        const QString path =
            QStringLiteral(ORV_SOURCE_DIR "/data/app/Plugins/Parameters/") + QString::fromLatin1(owner.file);
        CParameters parameters;
        ASSERT_TRUE(parameters.Load(path));
        ExpectControlsOutsideTheirGroups(parameters.GetInterfaceNodes());

        CXmlFile file;
        ASSERT_TRUE(file.Load(path));
        ASSERT_TRUE(file.GoToElement(QStringLiteral("INFO"), true));
        ASSERT_TRUE(file.GoToElement(QStringLiteral("DESC")));
        QString content;
        file.GetStringAttribute(QStringLiteral("CONTENT"), content);
        const QString name = QString::fromLatin1(owner.name);
        if (owner.translator) {
            // Translators go by the first three letters, which begin exactly one translator's name.
            const QString key = content.left(3);
            ASSERT_EQ(key.size(), 3);
            for (const Owner& other : kOwners)
                if (other.translator) {
                    EXPECT_EQ(QString::fromLatin1(other.name).startsWith(key, Qt::CaseInsensitive), &other == &owner)
                        << other.name;
                }
            continue;
        }
        const QString key = ConverterKey(content);
        ASSERT_FALSE(key.trimmed().isEmpty());
        for (const Owner& other : kOwners)
            if (!other.translator) {
                EXPECT_EQ(QString::fromLatin1(other.name).contains(key, Qt::CaseInsensitive), &other == &owner)
                    << other.name;
            }
    }
}
