#pragma once
#include "Gui/Parameters/ParameterElements.h"
#include <QList>
#include <QWidget>

class CInterfaceGroup;
class CInterfaceInput;
class CInterfaceNode;
class CInterfaceTable;
class CParameters;
class QGridLayout;
class QPushButton;

// The editing form of one parameter set, built from the set's interface description. Edits go straight into
// the set, which the caller owns: it hands the view a new set, or none, before deleting the shown one.
class CParameterView : public QWidget
{
    Q_OBJECT
public:
    explicit CParameterView(QWidget* parent);

    void SetParameters(CParameters* parameters);
    void ResetAll();

    const QList<Element*>& GetElements() const { return mElements; }
    QPushButton* GetResetAllButton() const { return mpResetAllButton; }

signals:
    void Changed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool BuildNode(const QList<CInterfaceNode*>& nodes, QWidget* parent);
    SimpleElement* CreateElement(CInterfaceInput* input, QWidget* parent);
    Element* CreateTable(CInterfaceTable* table, QWidget* parent);
    QWidget* CreateGroup(CInterfaceGroup* group, QWidget* parent);
    void AddToParent(QWidget* widget, QWidget* parent);

    QWidget* mpContent = nullptr;
    QGridLayout* mpGrid;
    QList<Element*> mElements;
    QPushButton* mpResetAllButton = nullptr;
};
