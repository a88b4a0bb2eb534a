#include "Gui/Panels/CFilesSelectorPanel.h"
#include "Gui/Browsing/CDiskSelectorControl.h"
#include "Gui/Browsing/CFileSelectorControl.h"
#include "Gui/Browsing/FileSizeText.h"
#include "Host/CFileInfo.h"
#include <QComboBox>
#include <QPainter>
#include <QVBoxLayout>

namespace {

// The folder and file pictures of the lists, made by the first panel and released with the last one.
struct CListPictures
{
    int mUsers = 0;
    QPixmap* mpFolder = nullptr;
    QPixmap* mpFile = nullptr;
};

CListPictures& ListPictures()
{
    static CListPictures pictures;
    return pictures;
}

QPixmap* MakeFolderPicture()
{
    auto* picture = new QPixmap(15, 13);
    picture->fill(Qt::transparent);
    QPainter painter(picture);
    painter.setPen(QColor(128, 96, 0));
    painter.setBrush(QColor(255, 214, 90));
    painter.drawRect(0, 3, 14, 9);
    painter.drawRect(0, 1, 6, 2);
    return picture;
}

QPixmap* MakeFilePicture()
{
    auto* picture = new QPixmap(15, 18);
    picture->fill(Qt::transparent);
    QPainter painter(picture);
    painter.setPen(QColor(64, 64, 64));
    painter.setBrush(Qt::white);
    const QPoint page[] = {QPoint(2, 0), QPoint(9, 0), QPoint(13, 4), QPoint(13, 17), QPoint(2, 17)};
    painter.drawPolygon(page, 5);
    painter.drawLine(9, 0, 9, 4);
    painter.drawLine(9, 4, 13, 4);
    return picture;
}

QString ZeroPadded(qulonglong value)
{
    return QStringLiteral("%1").arg(value, 10, 10, QLatin1Char('0'));
}

} // namespace

CFilesSelectorPanel::CFilesSelectorPanel(QWidget* parent, const QString& name, int diskSelectorLayout,
                                         QAbstractItemView::SelectionMode selection)
    : QGroupBox(parent), mpDiskSelector(new CDiskSelectorControl(this, QString(), diskSelectorLayout)),
      mpFileList(new CFileSelectorControl(this, QString(), mpDiskSelector)), mpLayout(new QVBoxLayout(this))
{
    setObjectName(name);
    CListPictures& pictures = ListPictures();
    if (pictures.mUsers++ == 0) {
        pictures.mpFolder = MakeFolderPicture();
        pictures.mpFile = MakeFilePicture();
    }
    mpDiskSelector->SetFileList(mpFileList);
    mpDiskSelector->SetOwner(this);
    mpFileList->SetOwner(this);
    mpFileList->setSelectionMode(selection);
    mpLayout->addWidget(mpDiskSelector);
    mpLayout->addWidget(mpFileList, 1);
}

CFilesSelectorPanel::~CFilesSelectorPanel()
{
    // The list items ask this panel for their texts: they go first.
    delete mpFileList;
    mpFileList = nullptr;
    CListPictures& pictures = ListPictures();
    if (--pictures.mUsers == 0) {
        delete pictures.mpFolder;
        delete pictures.mpFile;
        pictures.mpFolder = pictures.mpFile = nullptr;
    }
}

QString CFilesSelectorPanel::GetColumnText(int column, const CFileInfo* info)
{
    const bool folder = info->IsDir();
    switch (column) {
    case CFileSelectorControl::NAME_COLUMN:
        return info->GetFileName();
    case CFileSelectorControl::SIZE_COLUMN:
        return folder ? QString() : FileSizeText(info->GetSize()) + QLatin1Char(' ');
    case CFileSelectorControl::TYPE_COLUMN:
        return folder ? QStringLiteral("Folder") : info->GetExtension(false);
    case CFileSelectorControl::DATE_COLUMN:
        return info->GetLastModified().toString(Qt::TextDate);
    default:
        return QString();
    }
}

QString CFilesSelectorPanel::GetColumnKey(int column, const CFileInfo* info)
{
    const QString kind = info->IsDir() ? QStringLiteral(" ") : QStringLiteral("1");
    switch (column) {
    case CFileSelectorControl::NAME_COLUMN:
    case CFileSelectorControl::TYPE_COLUMN:
        return kind + GetColumnText(column, info);
    case CFileSelectorControl::SIZE_COLUMN:
        return ZeroPadded(info->IsDir() ? 0 : qulonglong(info->GetSize()));
    case CFileSelectorControl::DATE_COLUMN: {
        const qint64 seconds = info->GetLastModified().toSecsSinceEpoch();
        return ZeroPadded(seconds < 0 ? 0 : qulonglong(seconds));
    }
    default:
        return QString();
    }
}

const QPixmap* CFilesSelectorPanel::GetColumnPixmap(int column, const CFileInfo* info)
{
    if (column != CFileSelectorControl::NAME_COLUMN)
        return nullptr;
    return info->IsDir() ? ListPictures().mpFolder : ListPictures().mpFile;
}

CFileInfoList* CFilesSelectorPanel::GetFolderEntries()
{
    mFolderEntries.clear();
    for (int i = 0; i < mpFileList->topLevelItemCount(); ++i) {
        const auto* item = static_cast<CFileListItem*>(mpFileList->topLevelItem(i));
        if (item->GetInfo()->IsDir())
            mFolderEntries.append(const_cast<CFileInfo*>(item->GetInfo()));
    }
    return &mFolderEntries;
}

CFileInfoList* CFilesSelectorPanel::GetFileEntries()
{
    mFileEntries.clear();
    for (int i = 0; i < mpFileList->topLevelItemCount(); ++i) {
        const auto* item = static_cast<CFileListItem*>(mpFileList->topLevelItem(i));
        if (item->GetInfo()->IsFile())
            mFileEntries.append(const_cast<CFileInfo*>(item->GetInfo()));
    }
    return &mFileEntries;
}

int CFilesSelectorPanel::FindItemPos(const CFileInfo* info)
{
    if (!info)
        return -1;
    for (int i = 0; i < mpFileList->topLevelItemCount(); ++i) {
        auto* item = static_cast<CFileListItem*>(mpFileList->topLevelItem(i));
        if (item->GetInfo()->GetFileName() == info->GetFileName())
            return mpFileList->ItemPos(item);
    }
    return -1;
}

bool CFilesSelectorPanel::CompareLists(CFileInfoList& a, CFileInfoList& b)
{
    if (a.count() != b.count())
        return false;
    for (const CFileInfo* entry : a) {
        const CFileInfo* match = nullptr;
        for (const CFileInfo* candidate : b) {
            if (entry->IsEqual(candidate)) {
                match = candidate;
                break;
            }
        }
        if (!match || entry->GetLastModified() != match->GetLastModified())
            return false;
    }
    return true;
}

bool CFilesSelectorPanel::IsFolderChanged(const QString& pattern)
{
    CLocalFileDriver& driver = mpDiskSelector->GetDriver();
    const QString kept = driver.GetCurrentDir();
    driver.SetCurrentDir(mpDiskSelector->GetCombo()->currentText());
    bool changed =
        !CompareLists(*driver.GetEntryList(QString(), CFileDriver::DIRS, CFileDriver::UNSORTED), *GetFolderEntries());
    if (!changed)
        changed =
            !CompareLists(*driver.GetEntryList(pattern, CFileDriver::FILES, CFileDriver::UNSORTED), *GetFileEntries());
    driver.SetCurrentDir(kept);
    return changed;
}

void CFilesSelectorPanel::AddEntries(const CFileInfoList* files)
{
    if (!files)
        return;
    // Items sort as they arrive; adding them unsorted and sorting once is much faster on big folders.
    const bool sorting = mpFileList->isSortingEnabled();
    mpFileList->setSortingEnabled(false);
    for (const CFileInfo* entry : *files) {
        const QString name = entry->GetFileName();
        if (entry->IsFile() || (entry->IsDir() && name != QLatin1String(".") && name != QLatin1String("..")))
            new CFileListItem(mpFileList, *entry, this);
    }
    mpFileList->setSortingEnabled(sorting);
}
