#pragma once
// The interface description of a parameter set: groups, inputs and tables that
// the parameter view turns into widgets. Nodes hold no values: inputs point at
// parameters and tables at vectors of the same set, so a node must not outlive
// its set's next Clear.
#include <QList>
#include <QString>
#include <QStringList>

class CParameter;
class CParameterVector;

class CInterfaceNode
{
public:
    enum Kind
    {
        GROUP = 0,
        INPUT = 1,
        TABLE = 2
    };

    explicit CInterfaceNode(int kind) : mKind(kind) {}
    virtual ~CInterfaceNode();

    int GetKind() const { return mKind; }

    int mKind;

private:
    CInterfaceNode(const CInterfaceNode&) = delete;
    CInterfaceNode& operator=(const CInterfaceNode&) = delete;
};

class CInterfaceGroup : public CInterfaceNode
{
public:
    CInterfaceGroup(const QString& caption, const QString& control);
    ~CInterfaceGroup() override; // deletes its inputs

    QString mCaption;
    QString mControl;               // name of the bool parameter that enables the group
    QList<CInterfaceNode*> mInputs; // all CInterfaceInput, in file order; owned
};

class CInterfaceInput : public CInterfaceNode
{
public:
    enum Control
    {
        LABEL = 0,
        EDITBOX = 1,
        CHECKBOX = 2,
        LISTBOX = 3,
        COMBOBOX = 4
    };

    CInterfaceInput(CParameter* parameter, int controlType, const QString& caption, const QString& prefix,
                    const QString& suffix);

    // The control code of an exact, case-sensitive name; -1 for any other.
    static int ControlTypeFromName(const QString& name);

    int mControlType;
    CParameter* mpParameter; // not owned
    QString mCaption;        // null texts when the attribute is missing
    QString mPrefix;
    QString mSuffix;
};

class CInterfaceTable : public CInterfaceNode
{
public:
    CInterfaceTable(const QString& caption, bool withDefButton, bool sortable, bool notVertical);

    QString mCaption;
    bool mWithDefButton;
    bool mSortable;
    bool mNotVertical;
    QStringList mRowCaptions;
    QStringList mColumnCaptions;
    QList<CParameterVector*> mVectors; // rows or columns in file order; not owned
};
