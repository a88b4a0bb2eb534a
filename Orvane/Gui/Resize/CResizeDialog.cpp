#include "Gui/Resize/CResizeDialog.h"
#include "Gui/Resize/CPictureItem.h"
#include "Gui/Resize/ResizeSupport.h"
#include "Gui/Widgets/GuiResources.h"
#include "Gui/Widgets/WheelGuard.h"
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
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

QString Text(const char* id)
{
    return GuiText("CResizeDialog", id);
}

} // namespace

QGroupBox* MakeViewBox(QWidget* parent, const QString& title, QGraphicsView* view)
{
    auto* box = new QGroupBox(title, parent);
    box->setMinimumSize(150, 150);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setRowMinimumHeight(0, 5);
    grid->setRowStretch(1, 1);
    view->setParent(box);
    // The view takes the whole box, so a larger dialog shows more of the picture.
    grid->addWidget(view, 1, 0);
    return box;
}

QWidget* MakeBoxPage(QWidget* parent, const QList<QPair<QString, QSpinBox*>>& rows)
{
    auto* page = new QFrame(parent);
    auto* grid = new QGridLayout(page);
    grid->setSpacing(5);
    grid->setColumnStretch(0, 1);
    for (int row = 0; row < rows.size(); ++row) {
        if (!rows.at(row).first.isEmpty()) {
            auto* label = new QLabel(rows.at(row).first, page);
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid->addWidget(label, row, 0);
        }
        rows.at(row).second->setParent(page);
        grid->addWidget(rows.at(row).second, row, 1);
    }
    grid->addWidget(new QWidget(page), int(rows.size()), 0, 1, 2);
    grid->setRowStretch(int(rows.size()), 1);
    return page;
}

CResizeDialog::CResizeDialog(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags)
{
    setModal(true);
    const QPixmap icon = GuiPicture("CResizeDialog", "id_brimsel_logo_icon");
    if (!icon.isNull())
        setWindowIcon(icon);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setRowStretch(0, 1);
    auto* work = new QFrame(this);
    grid->addWidget(work, 0, 0);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(5);
    buttons->setContentsMargins(5, 5, 5, 5);
    buttons->addStretch(1);
    mpOk = new QPushButton(Text("id_ok"), this);
    mpCancel = new QPushButton(Text("id_cancel"), this);
    buttons->addWidget(mpOk);
    buttons->addWidget(mpCancel);
    grid->addLayout(buttons, 1, 0);

    auto* workGrid = new QGridLayout(work);
    workGrid->setSpacing(5);
    workGrid->setRowStretch(1, 1);
    workGrid->setColumnStretch(1, 1);
    workGrid->setColumnStretch(2, 1);

    auto* op = new QGroupBox(Text("id_op"), work);
    auto* opRow = new QHBoxLayout(op);
    mpScaleButton = new QRadioButton(Text("id_scale"), op);
    mpCropButton = new QRadioButton(Text("id_crop"), op);
    mpScaleButton->setChecked(true);
    opRow->addWidget(mpScaleButton);
    opRow->addWidget(mpCropButton);
    workGrid->addWidget(op, 0, 0, 1, 3);

    auto* params = new QGroupBox(Text("id_params"), work);
    auto* paramsColumn = new QVBoxLayout(params);
    mpSizeCombo = new QComboBox(params);
    paramsColumn->addWidget(mpSizeCombo);
    mpPages = new QStackedWidget(params);
    paramsColumn->addWidget(mpPages);
    workGrid->addWidget(params, 1, 0);

    for (QSpinBox** box : {&mpScaleWidth, &mpScaleHeight, &mpCropWidth, &mpCropHeight}) {
        *box = new QSpinBox(this);
        (*box)->setRange(1, 99);
    }
    mpOffsetX = new QSpinBox(this);
    mpOffsetY = new QSpinBox(this);
    mpPages->addWidget(MakeBoxPage(mpPages, {{Text("id_scale_x"), mpScaleWidth}, {Text("id_scale_y"), mpScaleHeight}}));
    mpPages->addWidget(MakeBoxPage(mpPages, {{Text("id_size_x"), mpCropWidth},
                                             {Text("id_size_y"), mpCropHeight},
                                             {Text("id_offset_x"), mpOffsetX},
                                             {Text("id_offset_y"), mpOffsetY}}));

    mpSourceScene = new QGraphicsScene(this);
    mpResultScene = new QGraphicsScene(this);
    for (QGraphicsScene* scene : {mpSourceScene, mpResultScene})
        scene->setBackgroundBrush(CheckerBrush());
    mpSourceItem = new CPictureItem;
    mpSourceScene->addItem(mpSourceItem);
    mpSelection = new QGraphicsRectItem;
    mpSelection->setZValue(1);
    mpSourceScene->addItem(mpSelection);
    mpResultItem = new CPictureItem;
    mpResultScene->addItem(mpResultItem);
    mpSourceView = new QGraphicsView(mpSourceScene);
    mpResultView = new QGraphicsView(mpResultScene);
    // A picture smaller than its view sits in the middle of it.
    for (QGraphicsView* view : {mpSourceView, mpResultView})
        view->setAlignment(Qt::AlignCenter);
    workGrid->addWidget(MakeViewBox(work, Text("id_source"), mpSourceView), 1, 1);
    workGrid->addWidget(MakeViewBox(work, Text("id_result"), mpResultView), 1, 2);

    CheckConnection(connect(mpScaleButton, &QRadioButton::toggled, this, &CResizeDialog::OpChanged));
    CheckConnection(connect(mpOk, &QPushButton::clicked, this, &CResizeDialog::Ok));
    CheckConnection(connect(mpCancel, &QPushButton::clicked, this, &CResizeDialog::Cancel));
    for (QSpinBox* box : {mpScaleWidth, mpScaleHeight})
        CheckConnection(connect(box, &QSpinBox::valueChanged, this, &CResizeDialog::ScaleChanged));
    for (QSpinBox* box : {mpCropWidth, mpCropHeight})
        CheckConnection(connect(box, &QSpinBox::valueChanged, this, &CResizeDialog::SizeChanged));
    for (QSpinBox* box : {mpOffsetX, mpOffsetY})
        CheckConnection(connect(box, &QSpinBox::valueChanged, this, &CResizeDialog::OffsetChanged));
    CheckConnection(connect(mpSizeCombo, &QComboBox::activated, this, &CResizeDialog::DefaultSizeChanged));

    // Nothing to accept until a picture gives a result.
    mpOk->setEnabled(false);
    // Return accepts the dialog whatever button has the focus, once there is a result to accept; the wheel
    // turns no size or offset the user has not taken.
    mpOk->setDefault(true);
    mpCancel->setAutoDefault(false);
    TakeWheelOnlyWithFocusIn(this);

    OpChanged(true);
    resize(550, 300);
}

CResizeDialog::~CResizeDialog()
{
    // The items point at the pixmaps, which go first.
    mpSourceItem->SetPixmap(nullptr);
    mpResultItem->SetPixmap(nullptr);
}

void CResizeDialog::SetFormat(const QString& format)
{
    mEmp = format == QLatin1String("EMP");
}

void CResizeDialog::SetCropSizeList(const QList<QSize>& sizes)
{
    mSizeLists.SetCrop(sizes);
    FillSizeCombo();
}

void CResizeDialog::SetScaleSizeList(const QList<QSize>& sizes)
{
    mSizeLists.SetScale(sizes);
    FillSizeCombo();
}

void CResizeDialog::FillSizeCombo()
{
    mComboEntries = ComboEntries(mSizeLists.Current(), mCrop, mSourcePixmap.size());
    if (OfferEntries(mpSizeCombo, mComboEntries, Text("id_free"), 1024, mEmp))
        Apply();
    DefaultSizeChanged(-1);
}

void CResizeDialog::DefaultSizeChanged(int index)
{
    if (index == -1)
        index = mpSizeCombo->currentIndex();
    ShowEntrySize(mCrop ? mpCropWidth : mpScaleWidth, mCrop ? mpCropHeight : mpScaleHeight, mComboEntries, index,
                  mSourcePixmap.size());
}

void CResizeDialog::OpChanged(bool scale)
{
    mCrop = !scale;
    if (const QList<QSize> kept = mSizeLists.Kept(scale); !kept.isEmpty()) {
        if (scale)
            SetScaleSizeList(kept);
        else
            SetCropSizeList(kept);
    }
    mpSelection->setPen(SelectionPen(mCrop));
    UpdateRectangle();
    DefaultSizeChanged(-1);
    mpPages->setCurrentIndex(mCrop ? 1 : 0);
    Apply();
}

void CResizeDialog::ScaleChanged()
{
    UpdateRectangle();
    Apply();
}

void CResizeDialog::OffsetChanged()
{
    UpdateRectangle();
    Apply();
}

void CResizeDialog::SizeChanged()
{
    const int mx = qMax(0, mSourcePixmap.width() - mpCropWidth->value());
    mpOffsetX->setRange(0, mx);
    mpOffsetX->setEnabled(mx > 0);
    const int my = qMax(0, mSourcePixmap.height() - mpCropHeight->value());
    mpOffsetY->setRange(0, my);
    mpOffsetY->setEnabled(my > 0);
    UpdateRectangle();
    Apply();
}

void CResizeDialog::UpdateRectangle()
{
    if (mCrop) {
        mpSelection->setPos(mpOffsetX->value(), mpOffsetY->value());
        mpSelection->setRect(0, 0, mpCropWidth->value(), mpCropHeight->value());
    } else {
        mpSelection->setPos(0, 0);
        mpSelection->setRect(0, 0, mpScaleWidth->value(), mpScaleHeight->value());
    }
    mpSourceView->viewport()->update();
}

void CResizeDialog::Apply()
{
    if (mSourcePixmap.width() == 0)
        return;
    const QImage image = mSourcePixmap.toImage();
    QImage result;
    if (mCrop)
        result = image.copy(mpOffsetX->value(), mpOffsetY->value(), mpCropWidth->value(), mpCropHeight->value());
    else
        result = image.scaled(mpScaleWidth->value(), mpScaleHeight->value(), Qt::IgnoreAspectRatio,
                              Qt::SmoothTransformation);
    mResultImage = result.copy();
    mResultPixmap = QPixmap::fromImage(mResultImage);
    ShowResult();
}

void CResizeDialog::ShowResult()
{
    // A null result cannot be converted.
    mpOk->setEnabled(!mResultImage.isNull());
    mpResultScene->setSceneRect(0, 0, mResultPixmap.width(), mResultPixmap.height());
    mpResultItem->SetPixmap(&mResultPixmap);
    UpdateRectangle();
}

void CResizeDialog::ShowSource()
{
    mpSourceScene->setSceneRect(0, 0, mSourcePixmap.width(), mSourcePixmap.height());
    mpSourceItem->SetPixmap(&mSourcePixmap);
    Apply();
}

void CResizeDialog::SetImage(const QImage& image)
{
    mSourceImage = image.copy();
    mSourcePixmap = QPixmap::fromImage(mSourceImage);
    FillSizeCombo();
    ShowSource();
}

void CResizeDialog::SetPixmap(const QPixmap& pixmap)
{
    mSourcePixmap = pixmap;
    FillSizeCombo();
    ShowSource();
}

void CResizeDialog::resizeEvent(QResizeEvent* event)
{
    // A thin wide picture gets room below it, so that the horizontal scroll bar does not cover it.
    if (mSourcePixmap.width() >= mpSourceView->width() && mSourcePixmap.height() <= 16) {
        mpSourceScene->setSceneRect(0, 0, mSourcePixmap.width(), mSourcePixmap.height() + 16);
        mpSourceView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    } else {
        mpSourceScene->setSceneRect(0, 0, mSourcePixmap.width(), mSourcePixmap.height());
    }
    QDialog::resizeEvent(event);
}

void CResizeDialog::Ok()
{
    accept();
}

void CResizeDialog::Cancel()
{
    reject();
}
