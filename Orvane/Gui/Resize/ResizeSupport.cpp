#include "Gui/Resize/ResizeSupport.h"
#include <QComboBox>
#include <QPainter>
#include <QPixmap>
#include <QSpinBox>

QBrush CheckerBrush()
{
    QPixmap tile(32, 32);
    tile.fill(QColor(0, 0, 0));
    QPainter painter(&tile);
    painter.fillRect(0, 0, 16, 16, QColor(0xa0, 0xa0, 0xa0));
    painter.fillRect(16, 16, 16, 16, QColor(0xa0, 0xa0, 0xa0));
    painter.end();
    return QBrush(tile);
}

QPen SelectionPen(bool crop)
{
    QPen pen(crop ? QColor(255, 0, 0) : QColor(0, 0, 255), 0, Qt::DashLine);
    pen.setCosmetic(true);
    return pen;
}

QList<QSize> ComboEntries(const QList<QSize>& proposals, bool crop, const QSize& limit)
{
    QList<QSize> entries;
    for (const QSize& size : proposals) {
        const bool free = size.width() == 0 && size.height() == 0;
        if (crop && !free && limit.isValid() && (size.width() > limit.width() || size.height() > limit.height()))
            continue;
        if (!entries.contains(size))
            entries.append(size);
    }
    return entries;
}

QString EntryText(const QSize& entry, const QString& freeText)
{
    if (entry.width() == 0 && entry.height() == 0)
        return freeText;
    return QStringLiteral("%1 x %2").arg(entry.width()).arg(entry.height());
}

int DefaultEntry(const QList<QSize>& entries, int preferredArea, bool skipLargest)
{
    qint64 best = 0;
    int chosen = 0;
    for (int i = 0; i < entries.size(); ++i) {
        const qint64 area = qint64(entries.at(i).width()) * entries.at(i).height();
        if (!skipLargest && area > best) {
            best = area;
            chosen = i;
        }
        if (area == preferredArea)
            chosen = i;
    }
    return chosen;
}

void SetSizeBox(QSpinBox* box, int max, int value)
{
    // The range first and whole: a maximum below the minimum would lower the minimum for good.
    box->setRange(1, qMax(1, max));
    box->setValue(value);
}

bool OfferEntries(QComboBox* combo, const QList<QSize>& entries, const QString& freeText, int preferredArea,
                  bool skipLargest)
{
    combo->clear();
    for (const QSize& entry : entries)
        combo->addItem(EntryText(entry, freeText));
    if (entries.isEmpty()) {
        combo->setEnabled(false);
        return false;
    }
    combo->setCurrentIndex(DefaultEntry(entries, preferredArea, skipLargest));
    combo->setEnabled(true);
    return true;
}

void ShowEntrySize(QSpinBox* width, QSpinBox* height, const QList<QSize>& entries, int index, const QSize& freeSize)
{
    if (index < 0 || index >= entries.size())
        return;
    const QSize entry = entries.at(index);
    const bool free = entry.width() == 0 && entry.height() == 0;
    const QSize size = free ? freeSize : entry;
    SetSizeBox(width, size.width(), size.width());
    SetSizeBox(height, size.height(), size.height());
    width->setEnabled(free);
    height->setEnabled(free);
}
