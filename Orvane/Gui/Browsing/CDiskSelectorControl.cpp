#include "Gui/Browsing/CDiskSelectorControl.h"
#include "Gui/Widgets/GuiResources.h"
#include "Host/CFileInfo.h"
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QtDebug>

QPixmap MakeFolderUpPicture()
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(QColor(128, 96, 0));
    painter.setBrush(QColor(255, 214, 90));
    painter.drawRect(1, 5, 13, 9);
    painter.drawRect(1, 3, 5, 2);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::black);
    const QPoint arrow[] = {QPoint(8, 1), QPoint(12, 6), QPoint(4, 6)};
    painter.drawPolygon(arrow, 3);
    painter.drawRect(7, 6, 2, 5);
    return picture;
}

CDiskSelectorControl::CDiskSelectorControl(QWidget* parent, const QString& name, int layout)
    : QWidget(parent), mpCombo(new QComboBox(this)), mpCdUpButton(new QPushButton(this))
{
    setObjectName(name);
    mpCombo->setObjectName(QStringLiteral("DiskComboBox"));
    mpCdUpButton->setObjectName(QStringLiteral("CdUpButton"));
    mpCdUpButton->setIcon(QIcon(MakeFolderUpPicture()));
    mpCdUpButton->setToolTip(GuiText("CDiskSelectorControl", "id_tool_tip_cdup_button"));

    auto* box = new QHBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    if (layout == 0)
        box->addWidget(mpCdUpButton);
    box->addWidget(mpCombo, 1);
    if (layout != 0)
        box->addWidget(mpCdUpButton);
    mpCombo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setMinimumSize(1, 1);

    CFileInfoList* drives = mDriver.GetDrives();
    for (const CFileInfo* drive : *drives)
        mpCombo->addItem(drive->GetFilePath());
    // A single drive appears twice in the drop-down list, as it always has.
    if (drives->count() == 1)
        mpCombo->addItem(drives->at(0)->GetFilePath());

    CheckConnection(connect(mpCdUpButton, &QPushButton::clicked, this, &CDiskSelectorControl::CdUp));
}

void CDiskSelectorControl::CdUp()
{
    const QString folder = mpCurrentFolder && !mpCurrentFolder->isEmpty() ? *mpCurrentFolder : mpCombo->currentText();
    QString parent = QFileInfo(folder).absolutePath();
    UpdateComboList(parent);
    emit ItemChanged(mpCombo->currentIndex());
}

void CDiskSelectorControl::UpdateComboList(QString& path)
{
    const int slash = int(path.indexOf(QLatin1Char('/')));
    const QString prefix = slash < 0 ? path : path.left(slash + 1);
    qDebug() << "path" << path << "drive" << prefix;
    for (int i = 0; i < mpCombo->count(); ++i) {
        if (!prefix.isEmpty() && mpCombo->itemText(i).contains(prefix, Qt::CaseInsensitive)) {
            mpCombo->setItemText(i, path);
            mpCombo->setCurrentIndex(i);
            return;
        }
        qDebug() << "not on" << mpCombo->itemText(i);
    }
}
