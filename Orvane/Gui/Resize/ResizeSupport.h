#pragma once
#include <QBrush>
#include <QList>
#include <QPen>
#include <QSize>
#include <QString>

class QComboBox;
class QSpinBox;

// What the picture and animation resize dialogs share: the checkerboard behind transparent pictures, the
// selection's pen, and the rules of their size combo.

// A 32 x 32 tile of four 16 x 16 squares, grey at top-left and bottom-right, black at the other two.
QBrush CheckerBrush();
// A dashed one-pixel line: blue for a scale, red for a crop.
QPen SelectionPen(bool crop);

// The combo's entries made of the proposals: in a crop, sizes larger than limit are left out (the free size
// {0, 0} never is); duplicates are left out. An invalid limit filters nothing.
QList<QSize> ComboEntries(const QList<QSize>& proposals, bool crop, const QSize& limit);
// The text of an entry: freeText for {0, 0}, else "w x h".
QString EntryText(const QSize& entry, const QString& freeText);
// The entry chosen at first: the first of largest area (unless skipLargest), replaced by any later entry of
// the preferred area; 0 when nothing was chosen.
int DefaultEntry(const QList<QSize>& entries, int preferredArea, bool skipLargest);
// A spin box limited to 1 .. max (never below 1, so that no size of 0 can be typed) showing value.
void SetSizeBox(QSpinBox* box, int max, int value);
// Offers the entries in the combo, the default one chosen (see DefaultEntry); an empty combo is disabled.
// False when there is no entry.
bool OfferEntries(QComboBox* combo, const QList<QSize>& entries, const QString& freeText, int preferredArea,
                  bool skipLargest);
// Shows entry index's size in the two boxes, which only the free size lets the user edit; freeSize is what the
// free entry starts at. An index out of the entries changes nothing.
void ShowEntrySize(QSpinBox* width, QSpinBox* height, const QList<QSize>& entries, int index, const QSize& freeSize);

// The size lists a resize dialog is given: the one its combo offers now, and the first list given for a crop and
// for a scale, which come back when the user switches between the two.
class CSizeLists
{
public:
    void SetCrop(const QList<QSize>& sizes) { Set(sizes, mKeptCrop, mCropKept); }
    void SetScale(const QList<QSize>& sizes) { Set(sizes, mKeptScale, mScaleKept); }
    const QList<QSize>& Current() const { return mCurrent; }
    // The first list given for the operation; empty when none was.
    QList<QSize> Kept(bool scale) const { return scale ? mKeptScale : mKeptCrop; }

private:
    void Set(const QList<QSize>& sizes, QList<QSize>& kept, bool& isKept)
    {
        mCurrent = sizes;
        if (!isKept)
            kept = sizes;
        isKept = true;
    }

    QList<QSize> mCurrent;
    QList<QSize> mKeptCrop;
    QList<QSize> mKeptScale;
    bool mCropKept = false;
    bool mScaleKept = false;
};
