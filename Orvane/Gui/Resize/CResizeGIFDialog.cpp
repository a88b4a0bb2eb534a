#include "Gui/Resize/CResizeGIFDialog.h"
#include "Documents/CDocumentAnimation.h"
#include "Gui/Preview/CFittedPictureLabel.h"
#include "Gui/Preview/CPlayerControl.h"
#include "Gui/Preview/CPreviewPanel.h"
#include "Gui/Resize/CFrameObject.h"
#include "Gui/Resize/CPictureItem.h"
#include "Gui/Resize/CResizeDialog.h"
#include "Gui/Resize/ResizeSupport.h"
#include "Gui/Widgets/GuiResources.h"
#include "Gui/Widgets/WheelGuard.h"
#include <QCheckBox>
#include <QComboBox>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimerEvent>
#include <QVBoxLayout>

namespace {

QString Text(const char* id)
{
    return GuiText("CResizeDialog", id);
}

// A crop reaching past the frame's edges leaves those pixels transparent.
QImage CropFrame(const QImage& image, const QRect& area)
{
    if (image.rect().contains(area))
        return image.copy(area);
    return image.convertToFormat(QImage::Format_ARGB32).copy(area);
}

} // namespace

CResizeGIFDialog::CResizeGIFDialog(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags)
{
    setModal(true);
    const QPixmap icon = GuiPicture("CResizeDialog", "id_brimsel_logo_icon");
    if (!icon.isNull())
        setWindowIcon(icon);

    auto* column = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    // The previews take the room a larger dialog gives; the row of frames keeps its height.
    column->addLayout(top, 1);

    auto* sourceZone = new QGroupBox(Text("id_source_preview"), this);
    sourceZone->setObjectName(QStringLiteral("SourcePreviewZone"));
    auto* sourceColumn = new QVBoxLayout(sourceZone);
    mpSourcePanel = new CPreviewPanel(sourceZone, QStringLiteral("SourcePreviewPanel"));
    sourceColumn->addWidget(mpSourcePanel);
    top->addWidget(sourceZone, 1);

    auto* resultZone = new QGroupBox(Text("id_result_preview"), this);
    resultZone->setObjectName(QStringLiteral("ResultPreviewZone"));
    auto* resultRow = new QHBoxLayout(resultZone);
    auto* optionZone = new QGroupBox(Text("id_resize_option"), resultZone);
    optionZone->setObjectName(QStringLiteral("ResizeOptionZone"));
    auto* optionColumn = new QVBoxLayout(optionZone);
    auto* op = new QGroupBox(Text("id_op"), optionZone);
    auto* opRow = new QHBoxLayout(op);
    mpScaleButton = new QRadioButton(Text("id_scale"), op);
    mpCropButton = new QRadioButton(Text("id_crop"), op);
    mpScaleButton->setChecked(true);
    opRow->addWidget(mpScaleButton);
    opRow->addWidget(mpCropButton);
    optionColumn->addWidget(op);
    mpSizeCombo = new QComboBox(optionZone);
    optionColumn->addWidget(mpSizeCombo);
    mpPages = new QStackedWidget(optionZone);
    optionColumn->addWidget(mpPages);
    resultRow->addWidget(optionZone);
    mpResultPanel = new CPreviewPanel(resultZone, QStringLiteral("ResultPreviewPanel"));
    resultRow->addWidget(mpResultPanel, 1);
    top->addWidget(resultZone, 2);

    // Sizes come from the combo only: their boxes stay hidden.
    for (QSpinBox** box : {&mpScaleWidth, &mpScaleHeight, &mpCropWidth, &mpCropHeight}) {
        *box = new QSpinBox(this);
        (*box)->setRange(1, 99);
        (*box)->hide();
    }
    mpOffsetX = new QSpinBox(this);
    mpOffsetY = new QSpinBox(this);
    mpPages->addWidget(MakeBoxPage(mpPages, {{QString(), mpScaleWidth}, {QString(), mpScaleHeight}}));
    mpPages->addWidget(MakeBoxPage(mpPages, {{Text("id_offset_x"), mpOffsetX},
                                             {Text("id_offset_y"), mpOffsetY},
                                             {QString(), mpCropWidth},
                                             {QString(), mpCropHeight}}));

    auto* framesZone = new QGroupBox(Text("id_frame_set"), this);
    framesZone->setObjectName(QStringLiteral("AnimatedFrames"));
    auto* framesColumn = new QVBoxLayout(framesZone);
    mpScrollView = new QScrollArea(framesZone);
    mpScrollView->setObjectName(QStringLiteral("QScrollView"));
    mpScrollView->setWidgetResizable(true);
    mpFrameRow = new QWidget;
    mpFrameRowLayout = new QHBoxLayout(mpFrameRow);
    mpFrameRowLayout->addStretch(1);
    mpScrollView->setWidget(mpFrameRow);
    framesColumn->addWidget(mpScrollView);
    column->addWidget(framesZone);

    auto* buttonZone = new QWidget(this);
    buttonZone->setObjectName(QStringLiteral("ButtonZone"));
    auto* buttons = new QHBoxLayout(buttonZone);
    buttons->addStretch(1);
    mpOk = new QPushButton(Text("id_ok"), buttonZone);
    mpCancel = new QPushButton(Text("id_cancel"), buttonZone);
    for (QPushButton* button : {mpOk, mpCancel}) {
        button->setFixedSize(button->sizeHint());
        buttons->addWidget(button);
    }
    mpOk->setEnabled(false);
    column->addWidget(buttonZone);

    CheckConnection(connect(mpScaleButton, &QRadioButton::toggled, this, &CResizeGIFDialog::OpChanged));
    CheckConnection(connect(mpOk, &QPushButton::clicked, this, &CResizeGIFDialog::Ok));
    CheckConnection(connect(mpCancel, &QPushButton::clicked, this, &CResizeGIFDialog::Cancel));
    for (QSpinBox* box : {mpScaleWidth, mpScaleHeight})
        CheckConnection(connect(box, &QSpinBox::valueChanged, this, &CResizeGIFDialog::ScaleChanged));
    for (QSpinBox* box : {mpCropWidth, mpCropHeight})
        CheckConnection(connect(box, &QSpinBox::valueChanged, this, &CResizeGIFDialog::SizeChanged));
    for (QSpinBox* box : {mpOffsetX, mpOffsetY})
        CheckConnection(connect(box, &QSpinBox::valueChanged, this, &CResizeGIFDialog::OffsetChanged));
    CheckConnection(connect(mpSizeCombo, &QComboBox::activated, this, &CResizeGIFDialog::DefaultSizeChanged));
    // The panel plays its own display first; the selection canvas follows it.
    CPlayerControl* player = mpSourcePanel->GetPlayer();
    CheckConnection(connect(player, &CPlayerControl::PlayClicked, this, &CResizeGIFDialog::PlaySource));
    CheckConnection(connect(player, &CPlayerControl::StopClicked, this, &CResizeGIFDialog::StopSource));
    CheckConnection(connect(player, &CPlayerControl::NextClicked, this, &CResizeGIFDialog::UpdateFrameSource));
    CheckConnection(connect(player, &CPlayerControl::PreviousClicked, this, &CResizeGIFDialog::UpdateFrameSource));

    // Return accepts the dialog whatever button has the focus, once there is a result to accept; the wheel
    // turns no size or offset the user has not taken.
    mpOk->setDefault(true);
    mpCancel->setAutoDefault(false);
    TakeWheelOnlyWithFocusIn(this);

    OpChanged(true);
    resize(550, 300);
    setSizeGripEnabled(true);
}

CResizeGIFDialog::~CResizeGIFDialog()
{
    if (mSourceTimer)
        killTimer(mSourceTimer);
    mpSourcePanel->LoadMedia(nullptr);
    mpResultPanel->LoadMedia(nullptr);
    if (mpSelectionItem)
        mpSelectionItem->SetPixmap(nullptr);
}

void CResizeGIFDialog::SetFormat(const QString& format)
{
    mEma = format == QLatin1String("EMA");
}

void CResizeGIFDialog::SetCropSizeList(const QList<QSize>& sizes)
{
    mSizeLists.SetCrop(sizes);
    FillSizeCombo();
}

void CResizeGIFDialog::SetScaleSizeList(const QList<QSize>& sizes)
{
    mSizeLists.SetScale(sizes);
    FillSizeCombo();
}

QSize CResizeGIFDialog::FirstFrameSize() const
{
    const CAnimationFrame* frame = mpSource ? mpSource->GetFrame(0) : nullptr;
    return frame ? frame->GetImage().size() : QSize();
}

QSize CResizeGIFDialog::ShownFrameSize() const
{
    // While a play is starting the panel shows no frame: the first one stands for it.
    const CAnimationFrame* frame = mpSource ? mpSource->GetFrame(mpSourcePanel->GetCurrentFrame()) : nullptr;
    return frame ? frame->GetImage().size() : FirstFrameSize();
}

void CResizeGIFDialog::SetAnimation(const CDocumentAnimation* animation)
{
    mpSourcePanel->LoadMedia(nullptr);
    mpSource = std::make_unique<CDocumentAnimation>(*animation);
    mpSourcePanel->LoadMedia(mpSource.get());
    const int width = sizeHint().width();

    mBuilding = true;
    int frameBoxHeight = 0;
    for (int i = 0; i < mpSource->GetAnimationFrameCount(); ++i) {
        const CAnimationFrame* frame = mpSource->GetFrame(i);
        const QImage image = frame->GetImage();
        auto* box = new CFrameObject(mpFrameRow, QStringLiteral("CFrameObject"), image, image.width(), image.height(),
                                     frame->GetDisplayTime());
        mpFrameRowLayout->insertWidget(mpFrameRowLayout->count() - 1, box);
        mFrameBoxes.append(box);
        if (unsigned(i) < mMaxKept)
            box->GetKeepBox()->setChecked(true);
        CheckNbKeptImages(true);
        if (i == 0) {
            BuildSelectionCanvas(mpSourcePanel->GetPictureLabel()->pixmap());
            frameBoxHeight = box->sizeHint().height() + box->frameSize().height() - box->height();
            frameBoxHeight = qMax(frameBoxHeight, box->sizeHint().height());
        }
        CheckConnection(connect(box, &CFrameObject::toggle, this, &CResizeGIFDialog::CheckNbKeptImages));
        CheckConnection(connect(box, &CFrameObject::valueChanged, this, &CResizeGIFDialog::UpdateResult));
    }
    mBuilding = false;
    // The whole frame box shows, above the sideways scroll bar.
    const QMargins rowMargins = mpFrameRowLayout->contentsMargins();
    mpScrollView->setMinimumHeight(frameBoxHeight + rowMargins.top() + rowMargins.bottom()
                                   + mpScrollView->horizontalScrollBar()->sizeHint().height()
                                   + 2 * mpScrollView->frameWidth());

    FillSizeCombo();
    OpChanged(mpScaleButton->isChecked());
    UpdateRectangle();
    UpdateOffsetRanges();
    UpdateResult();
    Apply();
    resize(qMax(width, 550), qMax(sizeHint().height(), 300));
}

void CResizeGIFDialog::BuildSelectionCanvas(const QPixmap& pixmap)
{
    // The canvas lies over the source panel's display, so the selection is drawn on the frame shown.
    // It covers exactly the place where the panel draws the frame, at the same scale, so the whole frame and
    // the selection on it show whatever the panel's size.
    CFittedPictureLabel* label = mpSourcePanel->GetPictureLabel();
    mpSelectionView = new QGraphicsView(label);
    mpSelectionView->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mpSelectionView->setFrameShape(QFrame::NoFrame);
    mpSelectionView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mpSelectionView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    CheckConnection(connect(label, &CFittedPictureLabel::PictureMoved, this, &CResizeGIFDialog::PlaceSelectionView));
    mpSelectionScene = new QGraphicsScene(mpSelectionView);
    mpSelectionScene->setBackgroundBrush(CheckerBrush());
    mpSelectionView->setScene(mpSelectionScene);
    mpSelectionItem = new CPictureItem;
    mpSelectionScene->addItem(mpSelectionItem);
    mpSelection = new QGraphicsRectItem;
    mpSelection->setZValue(1);
    mpSelection->setPen(SelectionPen(mCrop));
    mpSelectionScene->addItem(mpSelection);
    SetSourcePixmap(pixmap);
}

void CResizeGIFDialog::SetSourcePixmap(const QPixmap& pixmap)
{
    mSourceCanvasPixmap = pixmap;
    if (!mpSelectionView)
        return;
    mpSelectionScene->setSceneRect(0, 0, pixmap.width(), pixmap.height());
    mpSelectionItem->SetPixmap(&mSourceCanvasPixmap);
    PlaceSelectionView();
    mpSelectionView->show();
}

void CResizeGIFDialog::PlaceSelectionView()
{
    if (!mpSelectionView || mSourceCanvasPixmap.isNull())
        return;
    const QRect place = mpSourcePanel->GetPictureLabel()->PlaceFor(mSourceCanvasPixmap.size());
    if (place.isEmpty())
        return;
    mpSelectionView->setGeometry(place);
    mpSelectionView->setTransform(QTransform::fromScale(double(place.width()) / mSourceCanvasPixmap.width(),
                                                        double(place.height()) / mSourceCanvasPixmap.height()));
    mpSelectionView->centerOn(mpSelectionScene->sceneRect().center());
}

void CResizeGIFDialog::CheckNbKeptImages(bool kept)
{
    if (kept) {
        if (mKept != mMaxKept)
            ++mKept;
    } else if (mKept > 0) {
        --mKept;
    }
    UpdateOkButton();
    for (CFrameObject* box : mFrameBoxes) {
        QCheckBox* keep = box->GetKeepBox();
        if (mKept != mMaxKept) {
            if (!keep->isEnabled())
                keep->setEnabled(true);
        } else if (keep->isEnabled() && !keep->isChecked()) {
            keep->setEnabled(false);
        }
    }
    if (!mBuilding)
        UpdateResult();
}

void CResizeGIFDialog::UpdateResult()
{
    mpResultPanel->LoadMedia(nullptr);
    mpResult.reset();
    if (mKept == 0 || !mpSource)
        return;
    mpResult = std::make_unique<CDocumentAnimation>();
    for (int i = 0; i < mFrameBoxes.size(); ++i) {
        const CFrameObject* box = mFrameBoxes.at(i);
        const CAnimationFrame* frame = mpSource->GetFrame(i);
        if (!frame || !box->GetKeepBox()->isChecked())
            continue;
        const QImage image = mCrop ? CropFrame(frame->GetImage(), QRect(mpOffsetX->value(), mpOffsetY->value(),
                                                                        mpCropWidth->value(), mpCropHeight->value()))
                                   : frame->GetImage().scaled(mpScaleWidth->value(), mpScaleHeight->value(),
                                                              Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        mpResult->AppendFrame(image, quint16(box->GetDelayBox()->value()));
    }
    mpResultPanel->LoadMedia(mpResult.get());
}

void CResizeGIFDialog::FillSizeCombo()
{
    mComboEntries = ComboEntries(mSizeLists.Current(), mCrop, FirstFrameSize());
    if (OfferEntries(mpSizeCombo, mComboEntries, Text("id_free"), 256, mEma)) {
        if (const int chosen = int(mComboEntries.indexOf(mChosenSize)); chosen >= 0 && mChosenSize.isValid())
            mpSizeCombo->setCurrentIndex(chosen);
        UpdateRectangle();
    }
    DefaultSizeChanged(-1);
    UpdateOkButton();
}

void CResizeGIFDialog::UpdateOkButton()
{
    // Without a size to apply (no proposal fits a crop) the boxes hold no choice of the user's: only
    // Cancel makes sense.
    mpOk->setEnabled(mKept > 0 && !mComboEntries.isEmpty());
}

void CResizeGIFDialog::DefaultSizeChanged(int index)
{
    if (index == -1)
        index = mpSizeCombo->currentIndex();
    ShowEntrySize(mCrop ? mpCropWidth : mpScaleWidth, mCrop ? mpCropHeight : mpScaleHeight, mComboEntries, index,
                  ShownFrameSize());
}

void CResizeGIFDialog::OpChanged(bool scale)
{
    mCrop = !scale;
    if (const QList<QSize> kept = mSizeLists.Kept(scale); !kept.isEmpty()) {
        if (scale)
            SetScaleSizeList(kept);
        else
            SetCropSizeList(kept);
    }
    if (mpSelection)
        mpSelection->setPen(SelectionPen(mCrop));
    UpdateRectangle();
    DefaultSizeChanged(-1);
    mpPages->setCurrentIndex(mCrop ? 1 : 0);
    UpdateOffsetRanges();
    UpdateResult();
}

void CResizeGIFDialog::UpdateOffsetRanges()
{
    // Offsets stay within the first frame, so that a crop can reach the right and bottom edges of a wide
    // frame and never starts past a small one.
    const QSize frame = FirstFrameSize();
    const int mx = qMax(0, frame.width() - mpCropWidth->value());
    const int my = qMax(0, frame.height() - mpCropHeight->value());
    mpOffsetX->setRange(0, mx);
    mpOffsetX->setEnabled(mx > 0);
    mpOffsetY->setRange(0, my);
    mpOffsetY->setEnabled(my > 0);
}

void CResizeGIFDialog::ScaleChanged()
{
    UpdateRectangle();
    UpdateResult();
}

void CResizeGIFDialog::SizeChanged()
{
    UpdateOffsetRanges();
    UpdateRectangle();
    UpdateResult();
}

void CResizeGIFDialog::OffsetChanged()
{
    UpdateRectangle();
    UpdateResult();
}

void CResizeGIFDialog::UpdateRectangle()
{
    if (mpSelection) {
        if (mCrop) {
            mpSelection->setPos(mpOffsetX->value(), mpOffsetY->value());
            mpSelection->setRect(0, 0, mpCropWidth->value(), mpCropHeight->value());
        } else {
            mpSelection->setPos(0, 0);
            mpSelection->setRect(0, 0, mpScaleWidth->value(), mpScaleHeight->value());
        }
    }
    if (mpSelectionView)
        mpSelectionView->viewport()->update();
}

void CResizeGIFDialog::PlaySource()
{
    if (mSourceTimer == 0)
        mSourceTimer = startTimer(0);
}

void CResizeGIFDialog::StopSource()
{
    if (mSourceTimer != 0) {
        killTimer(mSourceTimer);
        mSourceTimer = 0;
    }
}

void CResizeGIFDialog::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != mSourceTimer) {
        QDialog::timerEvent(event);
        return;
    }
    killTimer(mSourceTimer);
    mSourceTimer = 0;
    const int count = mpSource ? mpSource->GetAnimationFrameCount() : 0;
    if (count == 0)
        return;
    mSourceFrame = mSourceFrame + 1 >= count ? 0 : mSourceFrame + 1;
    if (const CAnimationFrame* frame = mpSource->GetFrame(mSourceFrame)) {
        mSourceTimer = startTimer(qMax(0, frame->GetDisplayTime()));
        SetSourcePixmap(QPixmap::fromImage(frame->GetImage()));
    }
}

void CResizeGIFDialog::UpdateFrameSource()
{
    SetSourcePixmap(mpSourcePanel->GetPictureLabel()->pixmap().copy());
}

void CResizeGIFDialog::Apply()
{
    if (!mpSource || mpSource->GetAnimationFrameCount() == 0 || mpSource->GetFrame(0)->GetImage().isNull())
        return;
    for (int i = 0; i < mFrameBoxes.size(); ++i) {
        if (const CAnimationFrame* frame = mpSource->GetFrame(i)) {
            mFrameBoxes.at(i)->UpdateImage(frame->GetImage().copy());
            mFrameBoxes.at(i)->GetImageLabel()->repaint();
        }
    }
}

void CResizeGIFDialog::Ok()
{
    accept();
}

void CResizeGIFDialog::Cancel()
{
    reject();
}
