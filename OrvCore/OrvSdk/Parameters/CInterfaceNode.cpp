#include "Parameters/CInterfaceNode.h"

#include <QtAlgorithms>

CInterfaceNode::~CInterfaceNode() = default;

CInterfaceGroup::CInterfaceGroup(const QString& caption, const QString& control)
    : CInterfaceNode(GROUP), mCaption(caption), mControl(control)
{}

CInterfaceGroup::~CInterfaceGroup()
{
    qDeleteAll(mInputs);
}

CInterfaceInput::CInterfaceInput(CParameter* parameter, int controlType, const QString& caption, const QString& prefix,
                                 const QString& suffix)
    : CInterfaceNode(INPUT), mControlType(controlType), mpParameter(parameter), mCaption(caption), mPrefix(prefix),
      mSuffix(suffix)
{}

int CInterfaceInput::ControlTypeFromName(const QString& name)
{
    static const char* const names[] = {"LABEL", "EDITBOX", "CHECKBOX", "LISTBOX", "COMBOBOX"};
    for (int code = 0; code < int(sizeof(names) / sizeof(names[0])); ++code) {
        if (name == QLatin1String(names[code]))
            return code;
    }
    return -1;
}

CInterfaceTable::CInterfaceTable(const QString& caption, bool withDefButton, bool sortable, bool notVertical)
    : CInterfaceNode(TABLE), mCaption(caption), mWithDefButton(withDefButton), mSortable(sortable),
      mNotVertical(notVertical)
{}
