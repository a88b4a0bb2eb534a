#include "Gui/Browsing/CSelectorEdit.h"
#include "Core/CUserPrompt.h"
#include "Gui/Widgets/GuiResources.h"
#include "Gui/Window/CGuiServices.h"
#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

namespace {

// The folder picture of the rows' buttons, shared by the rows alive and made again after the last one went.
struct CSharedFolderIcon
{
    int mUsers = 0;
    QPixmap mPicture;
};

CSharedFolderIcon& FolderIcon()
{
    static CSharedFolderIcon icon;
    return icon;
}

QPixmap MakeFolderIcon()
{
    QPixmap picture(16, 13);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(QColor(128, 96, 0));
    painter.setBrush(QColor(255, 214, 90));
    painter.drawRect(0, 3, 15, 9);
    painter.drawRect(0, 1, 6, 2);
    return picture;
}

// The folder the rows' file dialogs start in, shared by every row.
QString& SharedFolder()
{
    static QString folder;
    return folder;
}

QString Text(const char* id)
{
    return GuiText("CSelectorEdit", id);
}

} // namespace

CSelectorEdit::CSelectorEdit(QWidget* parent, const QString& name, const QString& caption, int checkWidth)
    : QWidget(parent)
{
    setObjectName(name);
    // Two lines: the converter's check box above its parameter file, so the field keeps its room in the
    // narrow middle column whatever the converter's name.
    auto* rows = new QGridLayout(this);
    rows->setObjectName(QStringLiteral("QHBox"));
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setHorizontalSpacing(4);
    rows->setVerticalSpacing(2);
    mpCheckBox = new QCheckBox(caption, this);
    mpCheckBox->setObjectName(caption + QStringLiteral("RadioButton"));
    if (checkWidth != -1)
        mpCheckBox->setFixedWidth(checkWidth);
    mpCheckBox->setToolTip(Text("id_tool_tip_batch_checkbox_button"));
    mpLineEdit = new QLineEdit(this);
    mpLineEdit->setObjectName(caption + QStringLiteral("LineEdit"));
    mpLineEdit->setToolTip(Text("id_tool_tip_batch_parameters_file_name"));
    mpOpenButton = new QPushButton(this);
    mpOpenButton->setObjectName(QStringLiteral("OpenButton"));
    CSharedFolderIcon& icon = FolderIcon();
    if (icon.mUsers++ == 0)
        icon.mPicture = MakeFolderIcon();
    mpOpenButton->setIcon(icon.mPicture);
    mpOpenButton->setToolTip(Text("id_tool_tip_batch_push_button"));
    // The icon alone: the button stays small so that the file name keeps the room.
    mpOpenButton->setFixedWidth(mpOpenButton->iconSize().width() + 12);
    mpLineEdit->setMinimumWidth(60);
    rows->addWidget(mpCheckBox, 0, 0, 1, 3);
    // The field starts under the name, beside the box's indicator.
    rows->setColumnMinimumWidth(0, mpCheckBox->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, mpCheckBox));
    rows->addWidget(mpLineEdit, 1, 1);
    rows->addWidget(mpOpenButton, 1, 2);
    rows->setColumnStretch(1, 1);
    CheckConnection(connect(mpOpenButton, &QPushButton::clicked, this, &CSelectorEdit::OpenFileDialog));
}

CSelectorEdit::~CSelectorEdit()
{
    CSharedFolderIcon& icon = FolderIcon();
    if (--icon.mUsers == 0)
        icon.mPicture = QPixmap();
}

QString CSelectorEdit::GetCaption() const
{
    return mpCheckBox->text();
}

QString CSelectorEdit::GetFileName() const
{
    return mpLineEdit->text();
}

void CSelectorEdit::SetFileName(const QString& name)
{
    mpLineEdit->setText(name);
}

void CSelectorEdit::OpenFileDialog()
{
    QString& folder = SharedFolder();
    emit GetCurrentPath(folder);
    const QString chosen = CGuiServices::Prompt().ChooseOpenFile(this, folder, QStringLiteral("XML (*.XML *.xml)"));
    if (chosen.isEmpty())
        return;
    folder = QFileInfo(chosen).absolutePath();
    mpLineEdit->setText(chosen);
}
