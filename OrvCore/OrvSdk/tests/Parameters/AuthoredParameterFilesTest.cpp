// Every converter parameter file shipped in the application folder loads, keeps
// each number within declared limits, and shows each parameter exactly once,
// with a caption, in its interface description.
#include "Parameters/CInterfaceNode.h"
#include "Parameters/CParameter.h"
#include "Parameters/CParameterVector.h"
#include "Parameters/CParameters.h"

#include <QDir>
#include <QSet>
#include <climits>
#include <cfloat>
#include <gtest/gtest.h>

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
