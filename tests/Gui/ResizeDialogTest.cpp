// The picture and animation resize dialogs: their size proposals, the bounds of their boxes, the pictures they
// make, the frames they keep; and both run by the engine before a conversion that needs them.
#include "Core/CResizeDialogAsker.h"
#include "Documents/CDocumentAnimation.h"
#include "Gui/Preview/CFittedPictureLabel.h"
#include "Gui/Preview/CPlayerControl.h"
#include "Gui/Preview/CPreviewPanel.h"
#include "Gui/Resize/CFrameObject.h"
#include "Gui/Resize/CPictureItem.h"
#include "Gui/Resize/CResizeDialog.h"
#include "Gui/Resize/CResizeGIFDialog.h"
#include "GuiTestSupport.h"
#include "QtPrinters.h"
#include <QCheckBox>
#include <QComboBox>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A picture whose every pixel differs, so that a wrong scale or crop shows.
QImage Gradient(int width, int height, int seed = 0)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgba((x * 7 + seed) & 255, (y * 5 + seed) & 255, (x + y) & 255, 255));
    return image;
}

QList<QSize> Sizes(std::initializer_list<QSize> sizes)
{
    return QList<QSize>(sizes);
}

// A choice in the combo as the user makes it.
void Choose(QComboBox* combo, int index)
{
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

// Pictures compared pixel for pixel, whatever their storage format.
QImage Pixels(const QImage& image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

QStringList ComboTexts(const QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts.append(combo->itemText(i));
    return texts;
}

// Frames of the given sizes, with display times 100, 200, ...
CDocumentAnimation Animation(const QList<QSize>& frames)
{
    CDocumentAnimation animation;
    for (int i = 0; i < frames.size(); ++i)
        animation.AppendFrame(Gradient(frames.at(i).width(), frames.at(i).height(), i * 40), 100 * (i + 1));
    return animation;
}

QString Kept(const CResizeGIFDialog& dialog)
{
    QString states;
    for (const CFrameObject* box : dialog.GetFrameBoxes())
        states += QLatin1Char(box->GetKeepBox()->isChecked() ? (box->GetKeepBox()->isEnabled() ? 'K' : 'k')
                                                             : (box->GetKeepBox()->isEnabled() ? '-' : 'x'));
    return states;
}

class ResizeDialogTest : public GuiTest
{
protected:
    std::unique_ptr<CResizeDialog> Picture(const QList<QSize>& proposals, const QImage& image,
                                           const char* format = "PIC")
    {
        auto dialog = std::make_unique<CResizeDialog>(nullptr, Qt::Dialog);
        dialog->SetFormat(QString::fromLatin1(format));
        dialog->SetCropSizeList(proposals);
        dialog->SetScaleSizeList(proposals);
        dialog->SetImage(image);
        return dialog;
    }
    std::unique_ptr<CResizeGIFDialog> Gif(const QList<QSize>& proposals, const CDocumentAnimation& animation,
                                          unsigned maxKept, const char* format = "ANI")
    {
        auto dialog = std::make_unique<CResizeGIFDialog>(nullptr, Qt::Dialog);
        dialog->SetFormat(QString::fromLatin1(format));
        dialog->SetCropSizeList(proposals);
        dialog->SetScaleSizeList(proposals);
        dialog->SetMaxKeptFrames(maxKept);
        dialog->SetAnimation(&animation);
        return dialog;
    }
};

TEST_F(ResizeDialogTest, TheDefaultEntryIsTheLargestUnlessThePreferredAreaComesLater)
{
    const struct
    {
        QList<QSize> proposals;
        const char* format;
        QString expectedPicture;
        QString expectedAnimation;
    } cases[] = {
        {Sizes({{64, 64}, {32, 32}, {128, 128}}), "PIC", QStringLiteral("128 x 128"), QStringLiteral("128 x 128")},
        {Sizes({{64, 64}, {128, 128}, {32, 32}}), "PIC", QStringLiteral("32 x 32"), QStringLiteral("128 x 128")},
        {Sizes({{128, 128}, {96, 64}}), "EMP", QStringLiteral("128 x 128"), QStringLiteral("128 x 128")},
        {Sizes({{8, 8}, {32, 32}, {64, 64}}), "EMP", QStringLiteral("32 x 32"), QStringLiteral("64 x 64")},
        {Sizes({{32, 32}, {16, 16}, {8, 8}}), "ANI", QStringLiteral("32 x 32"), QStringLiteral("16 x 16")},
        {Sizes({{8, 8}, {16, 16}}), "EMA", QStringLiteral("16 x 16"), QStringLiteral("16 x 16")},
        {Sizes({{16, 16}, {8, 8}}), "EMA", QStringLiteral("16 x 16"), QStringLiteral("16 x 16")},
        {Sizes({{8, 8}}), "EMA", QStringLiteral("8 x 8"), QStringLiteral("8 x 8")},
    };
    for (const auto& c : cases) {
        auto picture = Picture(c.proposals, Gradient(300, 300), c.format);
        EXPECT_EQ(picture->GetSizeCombo()->currentText(), c.expectedPicture) << c.format;
        const CDocumentAnimation animation = Animation(Sizes({{300, 300}}));
        auto gif = Gif(c.proposals, animation, 1, c.format);
        EXPECT_EQ(gif->GetSizeCombo()->currentText(), c.expectedAnimation) << c.format;
        // The chosen size fixes the boxes.
        EXPECT_FALSE(picture->GetScaleWidthBox()->isEnabled());
        EXPECT_EQ(QStringLiteral("%1 x %2")
                      .arg(picture->GetScaleWidthBox()->value())
                      .arg(picture->GetScaleHeightBox()->value()),
                  c.expectedPicture);
    }
}

TEST_F(ResizeDialogTest, TheComboListsEachSizeOnceAndTheCropOnlyThoseThatFit)
{
    auto dialog = Picture(Sizes({{64, 48}, {0, 0}, {64, 48}, {128, 128}, {64, 64}}), Gradient(100, 80));
    const QString free = GuiMessage("CResizeDialog", "id_free");
    EXPECT_EQ(ComboTexts(dialog->GetSizeCombo()),
              (QStringList{QStringLiteral("64 x 48"), free, QStringLiteral("128 x 128"), QStringLiteral("64 x 64")}));
    dialog->GetCropButton()->setChecked(true);
    EXPECT_EQ(dialog->GetPages()->currentIndex(), 1);
    EXPECT_EQ(ComboTexts(dialog->GetSizeCombo()),
              (QStringList{QStringLiteral("64 x 48"), free, QStringLiteral("64 x 64")}));
    dialog->GetScaleButton()->setChecked(true);
    EXPECT_EQ(dialog->GetSizeCombo()->count(), 4);

    // Nothing fits: the combo is empty and disabled, the boxes stay usable.
    auto none = Picture(Sizes({{128, 128}}), Gradient(100, 80));
    none->GetCropButton()->setChecked(true);
    EXPECT_EQ(none->GetSizeCombo()->count(), 0);
    EXPECT_FALSE(none->GetSizeCombo()->isEnabled());
    EXPECT_TRUE(none->GetOkButton()->isEnabled());

    // In an animation the crop compares with the first frame.
    const CDocumentAnimation animation = Animation(Sizes({{20, 20}, {40, 40}}));
    auto gif = Gif(Sizes({{32, 32}, {16, 16}}), animation, 2);
    gif->GetCropButton()->setChecked(true);
    EXPECT_EQ(ComboTexts(gif->GetSizeCombo()), QStringList{QStringLiteral("16 x 16")});
}

TEST_F(ResizeDialogTest, TheFreeSizeRangesFromOneToThePicture)
{
    auto dialog = Picture(Sizes({{0, 0}}), Gradient(100, 80));
    Choose(dialog->GetSizeCombo(), 0);
    for (QSpinBox* box : {dialog->GetScaleWidthBox(), dialog->GetScaleHeightBox()})
        EXPECT_TRUE(box->isEnabled());
    EXPECT_EQ(dialog->GetScaleWidthBox()->maximum(), 100);
    EXPECT_EQ(dialog->GetScaleWidthBox()->value(), 100);
    EXPECT_EQ(dialog->GetScaleHeightBox()->maximum(), 80);
    EXPECT_EQ(dialog->GetScaleHeightBox()->minimum(), 1);

    // The proposals reach the dialog before the picture: the boxes never go below 1, and without a picture
    // there is nothing to accept.
    CResizeDialog early(nullptr, Qt::Dialog);
    early.SetScaleSizeList(Sizes({{0, 0}}));
    EXPECT_FALSE(early.GetOkButton()->isEnabled());
    EXPECT_EQ(early.GetScaleWidthBox()->minimum(), 1);
    early.GetScaleWidthBox()->setValue(0);
    EXPECT_EQ(early.GetScaleWidthBox()->value(), 1);
    early.SetImage(Gradient(30, 20));
    EXPECT_EQ(early.GetScaleWidthBox()->minimum(), 1);
    EXPECT_EQ(early.GetScaleWidthBox()->maximum(), 30);
    EXPECT_TRUE(early.GetOkButton()->isEnabled());
    EXPECT_EQ(early.GetResultImage().size(), QSize(30, 20));
}

TEST_F(ResizeDialogTest, ResultsArePixelForPixelTheScaledOrCutPicture)
{
    const QImage source = Gradient(100, 80);
    auto dialog = Picture(Sizes({{0, 0}}), source);
    dialog->GetScaleWidthBox()->setValue(37);
    dialog->GetScaleHeightBox()->setValue(21);
    EXPECT_EQ(Pixels(dialog->GetResultImage()),
              Pixels(source.scaled(37, 21, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    EXPECT_EQ(dialog->GetSelection()->rect(), QRectF(0, 0, 37, 21));
    EXPECT_EQ(dialog->GetSelection()->pen().color(), QColor(0, 0, 255));
    EXPECT_EQ(dialog->GetSelection()->pen().style(), Qt::DashLine);

    dialog->GetCropButton()->setChecked(true);
    dialog->GetCropWidthBox()->setValue(60);
    dialog->GetCropHeightBox()->setValue(80);
    EXPECT_EQ(dialog->GetOffsetXBox()->maximum(), 40);
    EXPECT_TRUE(dialog->GetOffsetXBox()->isEnabled());
    EXPECT_EQ(dialog->GetOffsetYBox()->maximum(), 0);
    EXPECT_FALSE(dialog->GetOffsetYBox()->isEnabled());
    dialog->GetOffsetXBox()->setValue(33);
    EXPECT_EQ(Pixels(dialog->GetResultImage()), source.copy(33, 0, 60, 80));
    EXPECT_EQ(dialog->GetSelection()->pos(), QPointF(33, 0));
    EXPECT_EQ(dialog->GetSelection()->rect(), QRectF(0, 0, 60, 80));
    EXPECT_EQ(dialog->GetSelection()->pen().color(), QColor(255, 0, 0));
    dialog->GetCropWidthBox()->setValue(100);
    EXPECT_EQ(dialog->GetOffsetXBox()->maximum(), 0);
    EXPECT_FALSE(dialog->GetOffsetXBox()->isEnabled());

    dialog->GetScaleButton()->setChecked(true);
    EXPECT_EQ(dialog->GetSelection()->pos(), QPointF(0, 0));
    EXPECT_EQ(dialog->GetSelection()->pen().color(), QColor(0, 0, 255));
}

TEST_F(ResizeDialogTest, AThinWidePictureGetsRoomBelowIt)
{
    auto dialog = Picture(Sizes({{0, 0}}), Gradient(300, 10));
    dialog->GetSourceView()->resize(150, 100);
    QResizeEvent event(QSize(600, 320), QSize(550, 300));
    QCoreApplication::sendEvent(dialog.get(), &event);
    EXPECT_EQ(dialog->GetSourceScene()->sceneRect(), QRectF(0, 0, 300, 26));
    EXPECT_EQ(dialog->GetSourceView()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

TEST_F(ResizeDialogTest, ThePictureItemDrawsItsPixmapAtWholePixels)
{
    QPixmap pixmap = QPixmap::fromImage(Gradient(4, 3));
    CPictureItem item;
    item.SetPixmap(&pixmap);
    EXPECT_EQ(item.rect(), QRectF(0, 0, 4, 3));
    QGraphicsScene scene(0, 0, 8, 8);
    scene.addItem(&item);
    item.setPos(2.7, 1.2);
    QImage canvas(8, 8, QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    scene.render(&painter, QRectF(0, 0, 8, 8), QRectF(0, 0, 8, 8));
    painter.end();
    EXPECT_EQ(canvas.copy(2, 1, 4, 3), Gradient(4, 3));
    scene.removeItem(&item);
    item.SetPixmap(nullptr);
    EXPECT_EQ(item.rect(), QRectF());
}

TEST_F(ResizeDialogTest, FramesAreKeptUpToTheMaximum)
{
    const CDocumentAnimation animation = Animation(Sizes({{20, 20}, {20, 20}, {20, 20}, {20, 20}, {20, 20}, {20, 20}}));
    auto dialog = Gif(Sizes({{16, 16}}), animation, 4);
    EXPECT_EQ(Kept(*dialog), QStringLiteral("KKKKxx"));
    EXPECT_EQ(dialog->GetKeptCount(), 4u);
    ASSERT_NE(dialog->GetResult(), nullptr);
    EXPECT_EQ(dialog->GetResult()->GetAnimationFrameCount(), 4);
    dialog->GetFrameBoxes().at(1)->GetKeepBox()->click();
    EXPECT_EQ(Kept(*dialog), QStringLiteral("K-KK--"));
    dialog->GetFrameBoxes().at(5)->GetKeepBox()->click();
    EXPECT_EQ(Kept(*dialog), QStringLiteral("KxKKxK"));
    EXPECT_EQ(dialog->GetResult()->GetAnimationFrameCount(), 4);
    EXPECT_EQ(dialog->GetResult()->GetFrame(3)->GetDisplayTime(), 600);
    for (int i : {0, 2, 3, 5})
        dialog->GetFrameBoxes().at(i)->GetKeepBox()->click();
    EXPECT_EQ(dialog->GetKeptCount(), 0u);
    EXPECT_FALSE(dialog->GetOkButton()->isEnabled());
    EXPECT_EQ(dialog->GetResult(), nullptr);
    EXPECT_EQ(dialog->GetResultPanel()->GetDocument(), nullptr);

    // A maximum of 0 keeps nothing and offers nothing.
    auto none = Gif(Sizes({{16, 16}}), animation, 0);
    EXPECT_EQ(Kept(*none), QStringLiteral("xxxxxx"));
    EXPECT_FALSE(none->GetOkButton()->isEnabled());
    // A maximum above the frame count keeps them all.
    auto all = Gif(Sizes({{16, 16}}), animation, 10);
    EXPECT_EQ(Kept(*all), QStringLiteral("KKKKKK"));
}

TEST_F(ResizeDialogTest, ATypedDelayReachesTheResult)
{
    const CDocumentAnimation animation = Animation(Sizes({{20, 20}, {20, 20}, {20, 20}}));
    auto dialog = Gif(Sizes({{16, 16}}), animation, 2);
    dialog->GetFrameBoxes().at(1)->GetDelayBox()->setValue(250);
    ASSERT_EQ(dialog->GetResult()->GetAnimationFrameCount(), 2);
    EXPECT_EQ(dialog->GetResult()->GetFrame(1)->GetDisplayTime(), 250);
    dialog->GetFrameBoxes().at(2)->GetDelayBox()->setValue(50000);
    ASSERT_EQ(dialog->GetResult()->GetAnimationFrameCount(), 2);
    EXPECT_EQ(dialog->GetResult()->GetFrame(0)->GetDisplayTime(), 100);
    EXPECT_EQ(dialog->GetResult()->GetFrame(1)->GetDisplayTime(), 250);
    EXPECT_EQ(dialog->GetFrameBoxes().at(1)->GetDelayBox()->maximum(), 50000);
}

TEST_F(ResizeDialogTest, AnimationFramesAreScaledOrCutLikeAPicture)
{
    const CDocumentAnimation animation = Animation(Sizes({{200, 20}, {10, 10}}));
    auto dialog = Gif(Sizes({{16, 16}}), animation, 2);
    EXPECT_EQ(dialog->GetResult()->GetFrame(0)->GetImage(),
              animation.GetFrame(0)->GetImage().scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));

    // The offsets reach the right edge of a wide first frame, not past it.
    dialog->GetCropButton()->setChecked(true);
    EXPECT_EQ(dialog->GetOffsetXBox()->maximum(), 184);
    EXPECT_EQ(dialog->GetOffsetYBox()->maximum(), 4);
    dialog->GetOffsetXBox()->setValue(500);
    dialog->GetOffsetYBox()->setValue(3);
    EXPECT_EQ(dialog->GetOffsetXBox()->value(), 184);
    EXPECT_EQ(dialog->GetSelection()->pos(), QPointF(184, 3));
    EXPECT_EQ(dialog->GetSelection()->pen().color(), QColor(255, 0, 0));
    const CDocumentAnimation* result = dialog->GetResult();
    EXPECT_EQ(result->GetFrame(0)->GetImage(), animation.GetFrame(0)->GetImage().copy(184, 3, 16, 16));
    // Past a smaller frame's edge the crop is transparent.
    const QImage small = result->GetFrame(1)->GetImage();
    EXPECT_EQ(small.size(), QSize(16, 16));
    EXPECT_EQ(qAlpha(small.pixel(0, 0)), 0);

    // A frame narrower than the crop leaves no room to move.
    const CDocumentAnimation tiny = Animation(Sizes({{10, 10}}));
    auto cut = Gif(Sizes({{0, 0}}), tiny, 1);
    cut->GetCropButton()->setChecked(true);
    EXPECT_EQ(cut->GetCropWidthBox()->value(), 10);
    EXPECT_EQ(cut->GetOffsetXBox()->maximum(), 0);
    EXPECT_FALSE(cut->GetOffsetXBox()->isEnabled());
}

TEST_F(ResizeDialogTest, PlayAndNextMoveTheSelectionCanvas)
{
    const CDocumentAnimation animation = Animation(Sizes({{20, 20}, {24, 12}, {8, 8}}));
    auto dialog = Gif(Sizes({{16, 16}}), animation, 3);
    EXPECT_EQ(dialog->GetSelectionPixmap().size(), dialog->GetSourcePanel()->GetPictureLabel()->pixmap().size());
    EXPECT_FALSE(dialog->GetSelectionPixmap().isNull());

    emit dialog->GetSourcePanel()->GetPlayer()->PlayClicked();
    EXPECT_TRUE(dialog->IsSourceTimerRunning());
    QTRY_COMPARE(dialog->GetSelectionPixmap().size(), QSize(24, 12));
    EXPECT_EQ(dialog->GetSelectionPixmap().toImage().convertToFormat(QImage::Format_ARGB32),
              animation.GetFrame(1)->GetImage());
    emit dialog->GetSourcePanel()->GetPlayer()->StopClicked();
    EXPECT_FALSE(dialog->IsSourceTimerRunning());

    emit dialog->GetSourcePanel()->GetPlayer()->NextClicked();
    EXPECT_EQ(dialog->GetSelectionPixmap().toImage(), dialog->GetSourcePanel()->GetPictureLabel()->pixmap().toImage());
}

TEST_F(ResizeDialogTest, TheFreeSizeOfAnAnimationIsThatOfTheFrameShown)
{
    const CDocumentAnimation animation = Animation(Sizes({{20, 10}, {30, 12}}));
    auto dialog = Gif(Sizes({{0, 0}}), animation, 2);
    // While the panel shows no frame the first one stands for it.
    dialog->GetSourcePanel()->SetCurrentFrame(-1);
    Choose(dialog->GetSizeCombo(), 0);
    EXPECT_EQ(dialog->GetScaleWidthBox()->maximum(), 20);
    for (int i = 0; i < 2; ++i)
        emit dialog->GetSourcePanel()->GetPlayer()->NextClicked();
    EXPECT_EQ(dialog->GetSourcePanel()->GetCurrentFrame(), 1);
    Choose(dialog->GetSizeCombo(), 0);
    EXPECT_EQ(dialog->GetScaleWidthBox()->maximum(), 30);
    EXPECT_EQ(dialog->GetScaleHeightBox()->value(), 12);
    EXPECT_EQ(dialog->GetResult()->GetFrame(0)->GetImage().size(), QSize(30, 12));
}

// Whether a box drawn for a picture of the given size keeps its shape, within a pixel of rounding.
bool KeepsShape(const QRect& box, const QSize& picture)
{
    return !box.isEmpty()
           && qAbs(box.width() * picture.height() - box.height() * picture.width())
                  <= picture.width() + picture.height();
}

TEST_F(ResizeDialogTest, EveryAnimationPreviewShowsTheWholeFrameInItsShapeFromTheStart)
{
    const CDocumentAnimation animation = Animation(Sizes({{300, 200}, {300, 200}}));
    for (const QSize& size : {QSize(128, 128), QSize(96, 64), QSize(32, 32)}) {
        SCOPED_TRACE(size.width() * 1000 + size.height());
        auto dialog = Gif(Sizes({size}), animation, 2);
        dialog->show();
        QCoreApplication::processEvents();
        // Nothing played: both previews already show a frame.
        CFittedPictureLabel* source = dialog->GetSourcePanel()->GetPictureLabel();
        CFittedPictureLabel* result = dialog->GetResultPanel()->GetPictureLabel();
        EXPECT_TRUE(KeepsShape(source->PictureRect(), QSize(300, 200))) << source->PictureRect();
        EXPECT_TRUE(KeepsShape(result->PictureRect(), size)) << result->PictureRect();
        EXPECT_TRUE(result->isVisible());
        EXPECT_EQ(result->pixmap().size(), size);
        // The selection canvas covers the drawn frame and shows all of it.
        QGraphicsView* selection = dialog->GetSelectionView();
        ASSERT_NE(selection, nullptr);
        EXPECT_EQ(selection->geometry(), source->PictureRect());
        EXPECT_EQ(selection->mapFromScene(QPointF(0, 0)), QPoint(0, 0));
        EXPECT_NEAR(selection->transform().m11() * 300, selection->viewport()->width(), 1.0);
        EXPECT_NEAR(selection->transform().m22() * 200, selection->viewport()->height(), 1.0);
    }
}

TEST_F(ResizeDialogTest, TheAnimationDialogOffersOkOnlyWithASizeToApply)
{
    // In a crop no proposal fits a 20 x 20 frame: no size, no Ok; the scale offers it again.
    const CDocumentAnimation animation = Animation(Sizes({{20, 20}}));
    auto dialog = Gif(Sizes({{32, 32}, {64, 64}}), animation, 1);
    EXPECT_TRUE(dialog->GetOkButton()->isEnabled());
    dialog->GetCropButton()->setChecked(true);
    EXPECT_EQ(dialog->GetSizeCombo()->count(), 0);
    EXPECT_FALSE(dialog->GetOkButton()->isEnabled());
    // Keeping frames does not bring Ok back without a size.
    dialog->GetFrameBoxes().at(0)->GetKeepBox()->click();
    dialog->GetFrameBoxes().at(0)->GetKeepBox()->click();
    EXPECT_FALSE(dialog->GetOkButton()->isEnabled());
    dialog->GetScaleButton()->setChecked(true);
    EXPECT_TRUE(dialog->GetOkButton()->isEnabled());

    auto none = Gif(Sizes({}), animation, 1);
    EXPECT_FALSE(none->GetOkButton()->isEnabled());
}

TEST_F(ResizeDialogTest, ThePictureDialogsViewsGrowWithTheDialog)
{
    auto dialog = Picture(Sizes({{128, 128}}), Gradient(300, 200));
    dialog->resize(550, 300);
    dialog->show();
    QCoreApplication::processEvents();
    const QSize before = dialog->GetResultView()->size();
    dialog->resize(900, 650);
    QCoreApplication::processEvents();
    const QSize after = dialog->GetResultView()->size();
    EXPECT_GE(after.width(), before.width() + 100) << before << " " << after;
    EXPECT_GE(after.height(), before.height() + 200) << before << " " << after;
    // Enlarged enough, the whole 128 x 128 result shows without scroll bars.
    EXPECT_FALSE(dialog->GetResultView()->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(dialog->GetResultView()->verticalScrollBar()->isVisible());
    EXPECT_GE(dialog->GetSourceView()->height(), before.height() + 200);
}

// The engine asks through the dialogs, run by the prompt whose script presses their buttons.
class ResizeThroughEngineTest : public ResizeDialogTest
{
protected:
    void SetUp() override
    {
        ResizeDialogTest::SetUp();
        m_Application->GetEngineState().mpResizeAsker = &m_Asker;
    }
    CResizeDialogAsker m_Asker;
};

TEST_F(ResizeThroughEngineTest, AnOversizePictureConvertsTheChosenSize)
{
    m_GuiPrompt.mOnExec = [](QDialog& dialog) {
        auto* resize = qobject_cast<CResizeDialog*>(&dialog);
        ASSERT_NE(resize, nullptr);
        // The converter takes 64 x 64 and 101 x 80; the phone proposes 32 x 32 as well.
        EXPECT_EQ(ComboTexts(resize->GetSizeCombo()),
                  (QStringList{QStringLiteral("64 x 64"), QStringLiteral("101 x 80"), QStringLiteral("32 x 32")}));
        Choose(resize->GetSizeCombo(), 0);
        resize->GetOkButton()->click();
    };
    EXPECT_EQ(LoadAndConvert("big.tpi", "200 10", "TPX"), "64x64");
    EXPECT_EQ(m_GuiPrompt.mDialogs, QStringList{Text("id_picture_toobig")});

    m_GuiPrompt.mOnExec = [](QDialog& dialog) {
        auto* resize = qobject_cast<CResizeDialog*>(&dialog);
        resize->GetCropButton()->setChecked(true);
        Choose(resize->GetSizeCombo(), 0);
        EXPECT_EQ(resize->GetSizeCombo()->currentText(), QStringLiteral("64 x 64"));
        resize->GetOkButton()->click();
    };
    EXPECT_EQ(LoadAndConvert("big.tpi", "200 100", "TPX"), "64x64");

    m_GuiPrompt.mOnExec = [](QDialog& dialog) { qobject_cast<CResizeDialog*>(&dialog)->GetCancelButton()->click(); };
    EXPECT_EQ(LoadAndConvert("big.tpi", "200 10", "TPX"), "<none>");
    m_GuiPrompt.mOnExec = nullptr;
    EXPECT_EQ(LoadAndConvert("big.tpi", "200 10", "TPX"), "<none>");
    EXPECT_EQ(m_GuiPrompt.mDialogs.size(), 4);
}

TEST_F(ResizeThroughEngineTest, AnAnimationOverTheFrameLimitConvertsTheChosenFrames)
{
    m_GuiPrompt.mOnExec = [](QDialog& dialog) {
        auto* resize = qobject_cast<CResizeGIFDialog*>(&dialog);
        ASSERT_NE(resize, nullptr);
        EXPECT_EQ(Kept(*resize), QStringLiteral("KKKKKKKKxx"));
        Choose(resize->GetSizeCombo(), 0);
        for (int i = 1; i < 8; ++i) {
            if (i != 2)
                resize->GetFrameBoxes().at(i)->GetKeepBox()->click();
        }
        resize->GetFrameBoxes().at(0)->GetDelayBox()->setValue(250);
        resize->GetOkButton()->click();
    };
    // Ten frames of 20 x 20 where the phone shows eight.
    EXPECT_EQ(LoadAndConvert("long.tan", "20 20 10", "TAX"), "2:64x64@250,300");
    EXPECT_EQ(m_GuiPrompt.mDialogs, QStringList{Text("id_animated_gif")});
    // The loaded animation is the source again.
    EXPECT_EQ(static_cast<CDocumentAnimation*>(Loaded())->GetAnimationFrameCount(), 10);

    m_GuiPrompt.mOnExec = [](QDialog& dialog) { qobject_cast<CResizeGIFDialog*>(&dialog)->GetCancelButton()->click(); };
    EXPECT_EQ(LoadAndConvert("long.tan", "20 20 10", "TAX"), "<none>");
}

TEST_F(ResizeThroughEngineTest, TheTitleSaysWhetherTheAnimationNeedsTheDialogOrTheOptionOffersIt)
{
    m_Application->GetEngineState().mResizeOption = 1;
    m_GuiPrompt.mOnExec = [](QDialog& dialog) { qobject_cast<CResizeGIFDialog*>(&dialog)->GetCancelButton()->click(); };
    // Three frames the phone takes: offered; ten, over its limit: needed.
    EXPECT_EQ(LoadAndConvert("short.tan", "20 20 3", "TAX"), "<none>");
    EXPECT_EQ(LoadAndConvert("long.tan", "20 20 10", "TAX"), "<none>");
    EXPECT_EQ(m_GuiPrompt.mDialogs, (QStringList{Text("id_animated_gif_offered"), Text("id_animated_gif")}));
    EXPECT_NE(Text("id_animated_gif_offered"), Text("id_animated_gif"));
    EXPECT_FALSE(Text("id_animated_gif_offered").isEmpty());
}

// Both dialogs open over the main window, and Return accepts them while the focus sits on another button (a
// player's first-frame button, Cancel).
TEST_F(ResizeThroughEngineTest, TheDialogsOpenOverTheWindowAndReturnAcceptsThem)
{
    const auto acceptWithReturn = [this](QDialog& dialog, QComboBox* sizes, QPushButton* focus) {
        EXPECT_EQ(dialog.parentWidget(), &Window());
        ASSERT_NE(focus, nullptr);
        Choose(sizes, 0);
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        focus->setFocus();
        ASSERT_TRUE(focus->hasFocus());
        QTest::keyClick(focus, Qt::Key_Return);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        dialog.hide();
    };
    m_GuiPrompt.mOnExec = [&](QDialog& dialog) {
        auto* resize = qobject_cast<CResizeGIFDialog*>(&dialog);
        ASSERT_NE(resize, nullptr);
        acceptWithReturn(dialog, resize->GetSizeCombo(),
                         dialog.findChild<CPlayerControl*>()->findChild<QPushButton*>());
    };
    EXPECT_EQ(LoadAndConvert("long.tan", "20 20 10", "TAX"), "8:64x64@100,200,300,400,500,600,700,800");
    m_GuiPrompt.mOnExec = [&](QDialog& dialog) {
        auto* resize = qobject_cast<CResizeDialog*>(&dialog);
        ASSERT_NE(resize, nullptr);
        acceptWithReturn(dialog, resize->GetSizeCombo(), resize->GetCancelButton());
    };
    EXPECT_EQ(LoadAndConvert("big.tpi", "200 10", "TPX"), "64x64");
}

} // namespace
