#include "Gui/Parameters/CParameterView.h"
#include "Gui/Parameters/CSidewaysScrollArea.h"
#include "Gui/Parameters/ParameterTable.h"
#include "Gui/Widgets/GuiResources.h"
#include "Parameters/CInterfaceNode.h"
#include "Parameters/CParameter.h"
#include "Parameters/CParameters.h"
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

CParameterView::CParameterView(QWidget* parent) : QWidget(parent), mpGrid(new QGridLayout(this))
{
    mpGrid->setContentsMargins(0, 0, 0, 0);
}

void CParameterView::SetParameters(CParameters* parameters)
{
    delete mpContent;
    mElements.clear();
    mpResetAllButton = nullptr;
    mpContent = new QWidget(this);
    auto* column = new QVBoxLayout(mpContent);
    column->setContentsMargins(10, 10, 10, 10);

    if (parameters && BuildNode(parameters->GetInterfaceNodes(), mpContent)) {
        auto* row = new QWidget(mpContent);
        auto* box = new QHBoxLayout(row);
        box->setContentsMargins(5, 5, 5, 5);
        box->setSpacing(5);
        box->addWidget(new QWidget(row), 1);
        mpResetAllButton = new QPushButton(GuiText("CParameterView", "id_reset_all"), row);
        box->addWidget(mpResetAllButton);
        column->addWidget(row);
        CheckConnection(connect(mpResetAllButton, &QPushButton::clicked, this, &CParameterView::ResetAll));
    }
    column->addStretch(1);
    mpGrid->addWidget(mpContent, 0, 0);
    mpContent->show();
}

void CParameterView::ResetAll()
{
    for (Element* element : std::as_const(mElements))
        element->Reset();
}

void CParameterView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        event->accept();
    else
        event->ignore();
}

void CParameterView::AddToParent(QWidget* widget, QWidget* parent)
{
    if (parent->layout())
        parent->layout()->addWidget(widget);
}

bool CParameterView::BuildNode(const QList<CInterfaceNode*>& nodes, QWidget* parent)
{
    if (nodes.isEmpty())
        return false;
    int prefixWidth = 0;
    int valueWidth = 0;
    for (CInterfaceNode* node : nodes) {
        if (!node)
            continue;
        if (node->mKind == CInterfaceNode::INPUT) {
            SimpleElement* element = CreateElement(static_cast<CInterfaceInput*>(node), parent);
            if (!element)
                continue;
            mElements.append(element);
            CheckConnection(connect(element, &SimpleElement::Changed, this, &CParameterView::Changed));
            prefixWidth = std::max(prefixWidth, element->GetPrefixWidth() + 5);
            valueWidth = std::max(valueWidth, element->GetValueWidth());
        } else if (node->mKind == CInterfaceNode::TABLE) {
            auto* table = static_cast<Table*>(CreateTable(static_cast<CInterfaceTable*>(node), parent));
            mElements.append(table);
            CheckConnection(connect(table, &Table::Changed, this, &CParameterView::Changed));
        } else if (node->mKind == CInterfaceNode::GROUP) {
            CreateGroup(static_cast<CInterfaceGroup*>(node), parent);
        }
    }

    // Line the value widgets of this list up in one column: each input finds its element by name, searching
    // on from the last one found.
    int cursor = 0;
    for (CInterfaceNode* node : nodes) {
        if (!node || node->mKind != CInterfaceNode::INPUT)
            continue;
        const CParameter* parameter = static_cast<CInterfaceInput*>(node)->mpParameter;
        if (!parameter)
            continue;
        for (; cursor < mElements.size(); ++cursor) {
            auto* element = dynamic_cast<SimpleElement*>(mElements.at(cursor));
            if (element && element->GetParameter() && element->GetParameter()->mName == parameter->mName) {
                element->SetPrefixWidth(prefixWidth);
                element->SetValueWidth(valueWidth);
                break;
            }
        }
    }
    return true;
}

SimpleElement* CParameterView::CreateElement(CInterfaceInput* input, QWidget* parent)
{
    CParameter* parameter = input->mpParameter;
    if (!parameter)
        return nullptr;
    SimpleElement* element = nullptr;
    switch (input->mControlType) {
    case CInterfaceInput::LABEL:
        element = new Label(parameter, true, parent);
        break;
    case CInterfaceInput::EDITBOX:
        if (parameter->mType == CParameter::INT_TYPE)
            element = new SpinEdit(parameter, true, parent);
        else
            element = new LineEdit(parameter, true, parent);
        break;
    case CInterfaceInput::CHECKBOX:
        element = new CheckBox(parameter, true, parent);
        break;
    case CInterfaceInput::COMBOBOX:
        element = new ComboBox(parameter, true, parent);
        break;
    default:
        return nullptr; // list boxes and unknown controls are not shown
    }
    element->SetCaption(input->mCaption);
    element->SetPrefix(input->mPrefix + MakeRangeText(parameter));
    element->SetSuffix(input->mSuffix);
    element->setEnabled(!parameter->mIsConst);
    AddToParent(element, parent);
    return element;
}

Element* CParameterView::CreateTable(CInterfaceTable* table, QWidget* parent)
{
    // A table wider than the form scrolls sideways on its own: the rest of the form keeps to the form's width.
    auto* element = new Table(table, nullptr);
    AddToParent(new CSidewaysScrollArea(element, parent), parent);
    return element;
}

QWidget* CParameterView::CreateGroup(CInterfaceGroup* group, QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* boxLayout = new QVBoxLayout(box);
    boxLayout->setContentsMargins(5, 5, 5, 5);
    auto* groupBox = new QGroupBox(group->mCaption, box);
    new QVBoxLayout(groupBox);
    boxLayout->addWidget(groupBox);
    AddToParent(box, parent);
    BuildNode(group->mInputs, groupBox);

    if (!group->mControl.isEmpty()) {
        for (Element* candidate : std::as_const(mElements)) {
            auto* element = dynamic_cast<SimpleElement*>(candidate);
            if (!element || !element->GetParameter() || element->GetParameter()->mName != group->mControl)
                continue;
            element->SetControlledWidget(box);
            const CParameter* parameter = element->GetParameter();
            if (parameter->mType == CParameter::BOOL_TYPE && !static_cast<const CBoolParameter*>(parameter)->mValue)
                box->setEnabled(false);
            break;
        }
    }
    return box;
}
