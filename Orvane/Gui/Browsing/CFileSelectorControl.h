#pragma once
#include <QTimer>
#include <QTreeWidget>

class CDiskSelectorControl;
class CFileIndicatorControl;
class CFileInfo;
class CFilesSelectorPanel;

// The four-column file list of a file panel (name, size, type, date). Every cell's text, picture and sort
// key come from the owning panel.
class CFileSelectorControl : public QTreeWidget
{
    Q_OBJECT
public:
    enum
    {
        NAME_COLUMN = 0,
        SIZE_COLUMN = 1,
        TYPE_COLUMN = 2,
        DATE_COLUMN = 3
    };

    CFileSelectorControl(QWidget* parent, const QString& name, CDiskSelectorControl* diskSelector);

    CDiskSelectorControl* GetDiskSelector() const { return mpDiskSelector; }
    CFilesSelectorPanel* GetOwner() const { return mpOwner; }
    void SetOwner(CFilesSelectorPanel* owner) { mpOwner = owner; }
    CFileIndicatorControl* GetIndicator() const { return mpIndicator; }
    void SetIndicator(CFileIndicatorControl* indicator) { mpIndicator = indicator; }
    // The vertical position of an item in the whole list, whatever is scrolled into view.
    int ItemPos(QTreeWidgetItem* item) const;
    // Fits the type and date columns to their contents, and gives the name column what the other columns
    // leave, and at least the room of its longest name within the list's width: when the list is narrow the date
    // moves out of sight (the list scrolls sideways to it), never the names.
    void FitNameColumn();
    // A line the list shows while it holds no entry (why it is empty); empty: none.
    void SetEmptyText(const QString& text);
    const QString& GetEmptyText() const { return mEmptyText; }

public slots:
    void UpdateDisplay(QTreeWidgetItem* item);

signals:
    void FolderChanged(QString* folder);
    void SelectedFileChanged(QString* file);
    void BackspacePressed();

protected:
    // Backspace means "folder up" here; it never reaches the list's own handling.
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // New entries may need a wider name column: measured once the listing is done.
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    // When the first click of a double click entered a folder, the list was filled anew under the pointer: the
    // second click belongs to no entry and is dropped, press and release.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPersistentModelIndex mPressedEntry;
    bool mPressedOnEntry = false;
    bool mDropRelease = false;
    unsigned char mColumns[4] = {NAME_COLUMN, SIZE_COLUMN, TYPE_COLUMN, DATE_COLUMN};
    CDiskSelectorControl* mpDiskSelector;
    CFilesSelectorPanel* mpOwner = nullptr;
    CFileIndicatorControl* mpIndicator = nullptr;
    QTimer mFitTimer;
    QString mEmptyText;
};

// One entry of a file list: it owns a snapshot of the entry taken when listed, and asks the owning panel for its
// texts, pictures and sort keys.
class CFileListItem : public QTreeWidgetItem
{
public:
    CFileListItem(QTreeWidget* list, const CFileInfo& info, CFilesSelectorPanel* owner);
    ~CFileListItem() override;
    CFileListItem(const CFileListItem&) = delete;
    CFileListItem& operator=(const CFileListItem&) = delete;

    const CFileInfo* GetInfo() const { return mpInfo; }
    QVariant data(int column, int role) const override;
    // Compares the panel's sort keys of the list's sort column.
    bool operator<(const QTreeWidgetItem& other) const override;

private:
    CFileInfo* mpInfo;
    CFilesSelectorPanel* mpOwner;
};
