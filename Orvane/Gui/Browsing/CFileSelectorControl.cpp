#include "Gui/Browsing/CFileSelectorControl.h"
#include "Gui/Browsing/CFileInfoSnapshot.h"
#include "Gui/Browsing/FileSizeText.h"
#include "Gui/Panels/CFilesSelectorPanel.h"
#include "Gui/Widgets/GuiResources.h"
#include "Host/CFileInfo.h"
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

CFileSelectorControl::CFileSelectorControl(QWidget* parent, const QString& name, CDiskSelectorControl* diskSelector)
    : QTreeWidget(parent), mpDiskSelector(diskSelector)
{
    setObjectName(name);
    setColumnCount(4);
    setHeaderLabels(
        {GuiText("CFileSelectorControl", "id_first_column"), GuiText("CFileSelectorControl", "id_second_column"),
         GuiText("CFileSelectorControl", "id_third_column"), GuiText("CFileSelectorControl", "id_fourth_column")});
    setColumnWidth(NAME_COLUMN, 100);
    // Wide enough for the widest size the column shows ("1024.0 MB") with the cell's margins.
    const int widestSize = fontMetrics().horizontalAdvance(FileSizeText(kWidestShownSize) + QLatin1Char(' '));
    setColumnWidth(SIZE_COLUMN, qMax(70, widestSize + 16));
    setColumnWidth(TYPE_COLUMN, 70);
    setColumnWidth(DATE_COLUMN, 100);
    headerItem()->setTextAlignment(SIZE_COLUMN, Qt::AlignRight | Qt::AlignVCenter);
    setRootIsDecorated(false);
    setAllColumnsShowFocus(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    header()->setSortIndicatorShown(true);
    setSortingEnabled(true);
    sortByColumn(NAME_COLUMN, Qt::AscendingOrder);
    setMinimumSize(1, 24);
    header()->setStretchLastSection(false);
    mFitTimer.setSingleShot(true);
    mFitTimer.setInterval(0);
    CheckConnection(connect(&mFitTimer, &QTimer::timeout, this, &CFileSelectorControl::FitNameColumn));
}

void CFileSelectorControl::FitNameColumn()
{
    // The type and the date read whole: their columns fit their header and their entries.
    for (const int column : {int(TYPE_COLUMN), int(DATE_COLUMN)}) {
        const int content = qMax(header()->sectionSizeHint(column), sizeHintForColumn(column));
        setColumnWidth(column, qMax(column == TYPE_COLUMN ? 70 : 100, content));
    }
    const int others = columnWidth(SIZE_COLUMN) + columnWidth(TYPE_COLUMN) + columnWidth(DATE_COLUMN);
    const int room = viewport()->width() - others;
    // A name longer than the whole list still leaves a glimpse of the next column.
    const int longest = qMin(sizeHintForColumn(NAME_COLUMN), viewport()->width() - 24);
    setColumnWidth(NAME_COLUMN, qMax(100, qMax(room, longest)));
}

void CFileSelectorControl::resizeEvent(QResizeEvent* event)
{
    QTreeWidget::resizeEvent(event);
    FitNameColumn();
}

void CFileSelectorControl::rowsInserted(const QModelIndex& parent, int start, int end)
{
    QTreeWidget::rowsInserted(parent, start, end);
    mFitTimer.start();
}

void CFileSelectorControl::SetEmptyText(const QString& text)
{
    mEmptyText = text;
    viewport()->update();
}

void CFileSelectorControl::paintEvent(QPaintEvent* event)
{
    QTreeWidget::paintEvent(event);
    if (mEmptyText.isEmpty() || topLevelItemCount() > 0)
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(viewport()->rect().adjusted(6, 6, -6, -6), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                     mEmptyText);
}

int CFileSelectorControl::ItemPos(QTreeWidgetItem* item) const
{
    return visualItemRect(item).top() + verticalScrollBar()->value();
}

void CFileSelectorControl::UpdateDisplay(QTreeWidgetItem*) {}

void CFileSelectorControl::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Backspace) {
        emit BackspacePressed();
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void CFileSelectorControl::mousePressEvent(QMouseEvent* event)
{
    mDropRelease = false;
    mPressedEntry = indexAt(event->position().toPoint());
    mPressedOnEntry = mPressedEntry.isValid();
    QTreeWidget::mousePressEvent(event);
}

void CFileSelectorControl::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The entry pressed first went with the old list.
    if (mPressedOnEntry && !mPressedEntry.isValid()) {
        mDropRelease = true;
        event->accept();
        return;
    }
    QTreeWidget::mouseDoubleClickEvent(event);
}

void CFileSelectorControl::mouseReleaseEvent(QMouseEvent* event)
{
    if (mDropRelease) {
        mDropRelease = false;
        event->accept();
        return;
    }
    QTreeWidget::mouseReleaseEvent(event);
}

CFileListItem::CFileListItem(QTreeWidget* list, const CFileInfo& info, CFilesSelectorPanel* owner)
    : QTreeWidgetItem(list), mpInfo(new CFileInfoSnapshot(info)), mpOwner(owner)
{
    setTextAlignment(CFileSelectorControl::SIZE_COLUMN, Qt::AlignRight | Qt::AlignVCenter);
}

CFileListItem::~CFileListItem()
{
    delete mpInfo;
}

QVariant CFileListItem::data(int column, int role) const
{
    if (role == Qt::DisplayRole)
        return mpOwner->GetColumnText(column, mpInfo);
    if (role == Qt::DecorationRole) {
        const QPixmap* picture = mpOwner->GetColumnPixmap(column, mpInfo);
        return picture ? QVariant(*picture) : QVariant();
    }
    return QTreeWidgetItem::data(column, role);
}

bool CFileListItem::operator<(const QTreeWidgetItem& other) const
{
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    const auto* item = dynamic_cast<const CFileListItem*>(&other);
    if (!item)
        return QTreeWidgetItem::operator<(other);
    return mpOwner->GetColumnKey(column, mpInfo) < item->mpOwner->GetColumnKey(column, item->mpInfo);
}
