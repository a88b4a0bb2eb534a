#pragma once
#include "Gui/Resize/ResizeSupport.h"
#include <QDialog>
#include <QList>
#include <QPixmap>
#include <QSize>
#include <memory>

class CDocumentAnimation;
class CFrameObject;
class CPictureItem;
class CPreviewPanel;
class QComboBox;
class QGraphicsRectItem;
class QGraphicsScene;
class QGraphicsView;
class QHBoxLayout;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;
class QStackedWidget;

// The animation counterpart of the picture resize dialog: besides a scale or crop size from the phone's
// proposals, the user chooses which frames to keep (at most the converter's maximum) and their display
// times. The source and the result play in two preview panels; the result is rebuilt after every change.
class CResizeGIFDialog : public QDialog
{
    Q_OBJECT
public:
    CResizeGIFDialog(QWidget* parent, Qt::WindowFlags flags);
    ~CResizeGIFDialog() override;

    // "EMA" prefers 16 x 16 over the largest proposal.
    void SetFormat(const QString& format);
    void SetCropSizeList(const QList<QSize>& sizes);
    void SetScaleSizeList(const QList<QSize>& sizes);
    // Set before SetAnimation.
    void SetMaxKeptFrames(unsigned count) { mMaxKept = count; }
    // The size the combo chooses at first when it offers it (an invalid size: the usual default entry).
    void SetChosenSize(const QSize& size) { mChosenSize = size; }
    // Takes a copy of the animation.
    void SetAnimation(const CDocumentAnimation* animation);
    // The kept frames, resized, with their display times; the dialog's own, null when no frame is kept.
    CDocumentAnimation* GetResult() const { return mpResult.get(); }

    // For tests.
    unsigned GetKeptCount() const { return mKept; }
    const QList<CFrameObject*>& GetFrameBoxes() const { return mFrameBoxes; }
    QComboBox* GetSizeCombo() const { return mpSizeCombo; }
    QRadioButton* GetCropButton() const { return mpCropButton; }
    QRadioButton* GetScaleButton() const { return mpScaleButton; }
    QPushButton* GetOkButton() const { return mpOk; }
    QPushButton* GetCancelButton() const { return mpCancel; }
    QSpinBox* GetScaleWidthBox() const { return mpScaleWidth; }
    QSpinBox* GetScaleHeightBox() const { return mpScaleHeight; }
    QSpinBox* GetCropWidthBox() const { return mpCropWidth; }
    QSpinBox* GetCropHeightBox() const { return mpCropHeight; }
    QSpinBox* GetOffsetXBox() const { return mpOffsetX; }
    QSpinBox* GetOffsetYBox() const { return mpOffsetY; }
    CPreviewPanel* GetSourcePanel() const { return mpSourcePanel; }
    CPreviewPanel* GetResultPanel() const { return mpResultPanel; }
    QGraphicsRectItem* GetSelection() const { return mpSelection; }
    QGraphicsView* GetSelectionView() const { return mpSelectionView; }
    // The picture the selection canvas shows.
    const QPixmap& GetSelectionPixmap() const { return mSourceCanvasPixmap; }
    bool IsSourceTimerRunning() const { return mSourceTimer != 0; }

public slots:
    void PlaySource();
    void StopSource();
    void UpdateFrameSource();
    void CheckNbKeptImages(bool kept);
    void UpdateResult();

private slots:
    void OpChanged(bool scale);
    void ScaleChanged();
    void SizeChanged();
    void OffsetChanged();
    void DefaultSizeChanged(int index);
    void Ok();
    void Cancel();
    void Apply();
    // Lays the selection canvas over the frame the source panel draws, at its scale.
    void PlaceSelectionView();

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void FillSizeCombo();
    void UpdateRectangle();
    void UpdateOffsetRanges();
    // Ok needs a kept frame and a size to apply.
    void UpdateOkButton();
    void SetSourcePixmap(const QPixmap& pixmap);
    void BuildSelectionCanvas(const QPixmap& pixmap);
    // The first frame's size; invalid without one.
    QSize FirstFrameSize() const;
    QSize ShownFrameSize() const;

    std::unique_ptr<CDocumentAnimation> mpSource;
    std::unique_ptr<CDocumentAnimation> mpResult;
    CPreviewPanel* mpSourcePanel;
    CPreviewPanel* mpResultPanel;
    QWidget* mpFrameRow;
    QHBoxLayout* mpFrameRowLayout;
    QScrollArea* mpScrollView;
    QComboBox* mpSizeCombo;
    QRadioButton* mpScaleButton;
    QRadioButton* mpCropButton;
    QGraphicsRectItem* mpSelection = nullptr;
    QSpinBox* mpScaleWidth;
    QSpinBox* mpScaleHeight;
    QSpinBox* mpCropWidth;
    QSpinBox* mpCropHeight;
    QSpinBox* mpOffsetX;
    QSpinBox* mpOffsetY;
    QPushButton* mpOk;
    QPushButton* mpCancel;
    QStackedWidget* mpPages;
    QList<QSize> mComboEntries;
    QList<CFrameObject*> mFrameBoxes;
    CSizeLists mSizeLists;
    QPixmap mSourceCanvasPixmap;
    QGraphicsScene* mpSelectionScene = nullptr;
    CPictureItem* mpSelectionItem = nullptr;
    QGraphicsView* mpSelectionView = nullptr;
    bool mCrop = false;
    int mSourceTimer = 0;
    int mSourceFrame = 0;
    unsigned mMaxKept = 0;
    QSize mChosenSize;
    unsigned mKept = 0;
    bool mEma = false;
    // While the frame boxes are built the result is made once, at the end.
    bool mBuilding = false;
};
