#pragma once
// A table of parameter vectors: each vector a column (vertical) or a row (horizontal), captions with the
// vector's common range, reset buttons per column and, when asked for, rows sorted by a clicked column.
#include "Gui/Parameters/ParameterElements.h"
#include <QPushButton>
#include <vector>

class CInterfaceTable;
class CParameterVector;
class QGridLayout;

// A button that tells which column it belongs to.
class PushButton : public QPushButton
{
    Q_OBJECT
public:
    PushButton(int index, const QString& text, QWidget* parent);

public slots:
    void Click();

signals:
    void Clicked(int index);

private:
    int mIndex;
};

class Table : public Element
{
    Q_OBJECT
public:
    Table(CInterfaceTable* table, QWidget* parent);

    int GetRowCount() const { return mRows; }
    int GetColumnCount() const { return mColumns; }
    // The widget of matrix cell (row, column), header row and column included; null when there is none.
    QWidget* GetCell(int row, int column) const;
    static SimpleElement* CreateCell(CParameter* parameter, QWidget* parent);

public slots:
    void Sort(int column);
    void Reset() override;
    void Reset(int column);

signals:
    void Changed();

private:
    void LayoutCells();
    void ResetCell(QWidget* cell);

    QGridLayout* mpGrid = nullptr;
    std::vector<std::vector<QWidget*>> mCells;
    int mRows = 0;
    int mColumns = 0;
};

// The common range text of a vector's parameters; null when they differ.
QString MakeVectorRangeText(const CParameterVector* vector);

// Whether cell a's value sorts before cell b's: type codes first, then the values.
bool IsParameterValueLess(const CParameter* a, const CParameter* b);
