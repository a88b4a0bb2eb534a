#include "Gui/Parameters/ParameterTable.h"
#include "Gui/Widgets/GuiResources.h"
#include "Parameters/CInterfaceNode.h"
#include "Parameters/CParameter.h"
#include "Parameters/CParameterVector.h"
#include <QGridLayout>
#include <QLabel>

PushButton::PushButton(int index, const QString& text, QWidget* parent) : QPushButton(text, parent), mIndex(index)
{
    CheckConnection(connect(this, &QPushButton::clicked, this, &PushButton::Click));
}

void PushButton::Click()
{
    emit Clicked(mIndex);
}

QString MakeVectorRangeText(const CParameterVector* vector)
{
    if (!vector || vector->mParameters.isEmpty())
        return QString();
    const QString first = MakeRangeText(vector->mParameters.first());
    for (const CParameter* parameter : vector->mParameters)
        if (MakeRangeText(parameter) != first)
            return QString();
    return first;
}

bool IsParameterValueLess(const CParameter* a, const CParameter* b)
{
    if (a->mType != b->mType)
        return a->mType < b->mType;
    switch (a->mType) {
    case CParameter::BOOL_TYPE:
        return !static_cast<const CBoolParameter*>(a)->mValue && static_cast<const CBoolParameter*>(b)->mValue;
    case CParameter::INT_TYPE:
        return static_cast<const CIntParameter*>(a)->mValue < static_cast<const CIntParameter*>(b)->mValue;
    case CParameter::FLOAT_TYPE:
        return static_cast<const CFloatParameter*>(a)->mValue < static_cast<const CFloatParameter*>(b)->mValue;
    case CParameter::STRING_TYPE:
        return static_cast<const CStringParameter*>(a)->mValue < static_cast<const CStringParameter*>(b)->mValue;
    case CParameter::ENUM_TYPE:
        return static_cast<const CEnumParameter*>(a)->mValue < static_cast<const CEnumParameter*>(b)->mValue;
    default:
        return false;
    }
}

SimpleElement* Table::CreateCell(CParameter* parameter, QWidget* parent)
{
    SimpleElement* cell = nullptr;
    switch (parameter ? parameter->mType : -1) {
    case CParameter::BOOL_TYPE:
        cell = new CheckBox(parameter, false, parent);
        break;
    case CParameter::INT_TYPE:
        cell = new SpinEdit(parameter, false, parent);
        break;
    case CParameter::FLOAT_TYPE:
    case CParameter::STRING_TYPE:
        cell = new LineEdit(parameter, false, parent);
        break;
    case CParameter::ENUM_TYPE:
        cell = new ComboBox(parameter, false, parent);
        break;
    default:
        return nullptr;
    }
    cell->setEnabled(!parameter->mIsConst);
    return cell;
}

Table::Table(CInterfaceTable* table, QWidget* parent) : Element(parent)
{
    const QList<CParameterVector*>& vectors = table->mVectors;
    const int count = vectors.size();
    int longest = 0;
    for (const CParameterVector* vector : vectors)
        if (vector)
            longest = std::max<int>(longest, vector->mParameters.size());
    if (count == 0 || longest == 0)
        return;
    const bool vertical = !table->mNotVertical;
    mRows = (vertical ? longest : count) + 1;
    mColumns = (vertical ? count : longest) + 1;
    mCells.assign(mRows, std::vector<QWidget*>(mColumns, nullptr));

    mpGrid = new QGridLayout(this);
    mpGrid->setContentsMargins(0, 0, 0, 0);
    if (table->mWithDefButton) {
        for (int c = 1; c < mColumns; ++c) {
            auto* button = new PushButton(c, GuiText("CParameterView", "id_reset"), this);
            // As wide as its word: the style's wider push buttons would widen every column of the table.
            button->setFixedWidth(button->fontMetrics().horizontalAdvance(button->text()) + 20);
            CheckConnection(connect(button, &PushButton::Clicked, this, qOverload<int>(&Table::Reset)));
            mpGrid->addWidget(button, mRows + 1, c, Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    mpGrid->setRowMinimumHeight(0, 20);

    // Captions beyond the grid have no cell and are left out.
    for (int k = 1; k <= table->mColumnCaptions.size() && k < mColumns; ++k) {
        QString text = table->mColumnCaptions.at(k - 1);
        if (vertical && k <= count)
            text += MakeVectorRangeText(vectors.at(k - 1));
        if (table->mSortable) {
            auto* button = new PushButton(k, text, this);
            CheckConnection(connect(button, &PushButton::Clicked, this, &Table::Sort));
            mCells[0][k] = button;
        } else {
            // Long column captions wrap, so a column is as wide as its cells need.
            auto* caption = new QLabel(text, this);
            caption->setWordWrap(true);
            caption->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
            mCells[0][k] = caption;
        }
    }
    for (int k = 1; k <= table->mRowCaptions.size() && k < mRows; ++k) {
        QString text = table->mRowCaptions.at(k - 1);
        if (!vertical && k <= count)
            text += MakeVectorRangeText(vectors.at(k - 1));
        auto* caption = new QLabel(text, this);
        caption->setWordWrap(true);
        mCells[k][0] = caption;
    }
    for (int i = 0; i < count; ++i) {
        if (!vectors.at(i))
            continue;
        const QList<CParameter*>& parameters = vectors.at(i)->mParameters;
        for (int j = 0; j < parameters.size(); ++j) {
            SimpleElement* cell = CreateCell(parameters.at(j), this);
            if (!cell)
                continue;
            CheckConnection(connect(cell, &SimpleElement::Changed, this, &Table::Changed));
            if (vertical)
                mCells[j + 1][i + 1] = cell;
            else
                mCells[i + 1][j + 1] = cell;
        }
    }
    LayoutCells();
}

QWidget* Table::GetCell(int row, int column) const
{
    if (row < 0 || row >= mRows || column < 0 || column >= mColumns)
        return nullptr;
    return mCells[row][column];
}

void Table::LayoutCells()
{
    for (int r = 0; r < mRows; ++r) {
        for (int c = 0; c < mColumns; ++c) {
            QWidget* cell = mCells[r][c];
            if (!cell)
                continue;
            cell->hide();
            mpGrid->removeWidget(cell);
            Qt::Alignment alignment;
            if (c == 0) {
                alignment = Qt::AlignRight | Qt::AlignVCenter;
            } else if (r > 0) {
                auto* element = static_cast<SimpleElement*>(cell);
                if (element->GetParameter()->mType == CParameter::BOOL_TYPE)
                    alignment = Qt::AlignCenter;
            }
            mpGrid->addWidget(cell, r + 1, c, alignment);
            cell->show();
        }
    }
}

void Table::Sort(int column)
{
    if (mRows >= 3 && column >= 1 && column < mColumns) {
        // Rows without a cell in this column go after the others, in their order.
        auto less = [&](int a, int b) {
            auto* cellA = static_cast<SimpleElement*>(mCells[a][column]);
            auto* cellB = static_cast<SimpleElement*>(mCells[b][column]);
            if (!cellA)
                return false;
            if (!cellB)
                return true;
            return IsParameterValueLess(cellA->GetParameter(), cellB->GetParameter());
        };
        for (int p = 2; p < mRows; ++p)
            for (int q = p; q >= 2; --q)
                if (less(q, q - 1))
                    std::swap(mCells[q], mCells[q - 1]);
    }
    LayoutCells();
}

void Table::ResetCell(QWidget* cell)
{
    if (cell)
        static_cast<SimpleElement*>(cell)->Reset();
}

void Table::Reset()
{
    for (int r = 1; r < mRows; ++r)
        for (int c = 1; c < mColumns; ++c)
            ResetCell(mCells[r][c]);
}

void Table::Reset(int column)
{
    if (mRows < 2 || column < 1 || column >= mColumns)
        return;
    for (int r = 1; r < mRows; ++r)
        ResetCell(mCells[r][column]);
}
