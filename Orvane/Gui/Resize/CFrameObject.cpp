#include "Gui/Resize/CFrameObject.h"
#include "Gui/Preview/CFittedPictureLabel.h"
#include "Gui/Widgets/GuiResources.h"
#include "Gui/Widgets/WheelGuard.h"
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

CFrameObject::CFrameObject(QWidget* parent, const QString& name, const QImage& image, int width, int height,
                           int displayTime)
    : QGroupBox(parent), mDisplayTime(displayTime)
{
    setObjectName(name);
    auto* column = new QVBoxLayout(this);
    mpImageLabel = new CFittedPictureLabel(this);
    mpImageLabel->setObjectName(QStringLiteral("ImageLabel"));
    mpImageLabel->setPixmap(QPixmap::fromImage(image));
    mpImageLabel->setAlignment(Qt::AlignCenter);
    // A large frame is shown shrunk, in its shape, so that the row of frames leaves the dialog room on a small
    // screen.
    const QSize shown = FittedSize(QSize(width, height), QSize(MAX_SHOWN, MAX_SHOWN));
    mpImageLabel->setFixedSize(shown);
    mpImageLabel->resize(shown);
    column->addWidget(mpImageLabel);

    mpHorizontalBox = new QWidget(this);
    mpHorizontalBox->setObjectName(QStringLiteral("HorizontalBox"));
    auto* row = new QHBoxLayout(mpHorizontalBox);
    row->setSpacing(10);
    row->setContentsMargins(0, 0, 0, 0);
    auto* frame = new QFrame(mpHorizontalBox);
    row->addWidget(frame);
    auto* grid = new QGridLayout(frame);
    grid->setSpacing(5);
    mpKeep = new QCheckBox(GuiText("CResizeDialog", "id_keep_caption"), frame);
    mpKeep->setObjectName(QStringLiteral("KeepCheckBox"));
    mpDelay = new QSpinBox(frame);
    mpDelay->setObjectName(QStringLiteral("SpinBox"));
    mpDelay->setRange(0, 50000);
    mpDelay->setValue(displayTime);
    auto* unit = new QLabel(GuiText("CResizeDialog", "id_delay_unit"), frame);
    unit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(mpKeep, 0, 0);
    grid->addWidget(mpDelay, 0, 1);
    grid->addWidget(unit, 0, 2);
    column->addWidget(mpHorizontalBox);

    CheckConnection(connect(mpKeep, &QCheckBox::toggled, this, &CFrameObject::toggle));
    CheckConnection(connect(mpDelay, &QSpinBox::valueChanged, this, &CFrameObject::valueChanged));
    // The wheel scrolls the row of frames past a delay that the user has not taken.
    TakeWheelOnlyWithFocus(mpDelay);
}

QPixmap CFrameObject::GetPixmap() const
{
    return mpImageLabel->pixmap();
}

void CFrameObject::UpdateImage(const QImage& image)
{
    mpImageLabel->setPixmap(QPixmap::fromImage(image));
}
