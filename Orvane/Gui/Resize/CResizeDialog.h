#pragma once
#include "Gui/Resize/ResizeSupport.h"
#include <QDialog>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QSize>

class CPictureItem;
class QComboBox;
class QGraphicsRectItem;
class QGraphicsScene;
class QGraphicsView;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;

// The modal dialog that brings a picture to a size the phone takes: the whole picture scaled to a chosen size,
// or a rectangle of a chosen size cut out of it. The source shows the choice as a dashed rectangle, the
// result beside it is recomputed after every change.
class CResizeDialog : public QDialog
{
    Q_OBJECT
public:
    CResizeDialog(QWidget* parent, Qt::WindowFlags flags);
    ~CResizeDialog() override;

    // "EMP" prefers 32 x 32 over the largest proposal.
    void SetFormat(const QString& format);
    // The proposals for each mode; the first list of each kind is kept for the switches between modes.
    void SetCropSizeList(const QList<QSize>& sizes);
    void SetScaleSizeList(const QList<QSize>& sizes);
    void SetImage(const QImage& image);
    void SetPixmap(const QPixmap& pixmap);

    // The picture to use once the dialog was accepted.
    const QImage& GetResultImage() const { return mResultImage; }

    // For tests.
    QComboBox* GetSizeCombo() const { return mpSizeCombo; }
    QRadioButton* GetScaleButton() const { return mpScaleButton; }
    QRadioButton* GetCropButton() const { return mpCropButton; }
    QPushButton* GetOkButton() const { return mpOk; }
    QPushButton* GetCancelButton() const { return mpCancel; }
    QSpinBox* GetScaleWidthBox() const { return mpScaleWidth; }
    QSpinBox* GetScaleHeightBox() const { return mpScaleHeight; }
    QSpinBox* GetCropWidthBox() const { return mpCropWidth; }
    QSpinBox* GetCropHeightBox() const { return mpCropHeight; }
    QSpinBox* GetOffsetXBox() const { return mpOffsetX; }
    QSpinBox* GetOffsetYBox() const { return mpOffsetY; }
    QGraphicsRectItem* GetSelection() const { return mpSelection; }
    QGraphicsScene* GetSourceScene() const { return mpSourceScene; }
    QGraphicsView* GetSourceView() const { return mpSourceView; }
    QGraphicsView* GetResultView() const { return mpResultView; }
    QStackedWidget* GetPages() const { return mpPages; }

private slots:
    void OpChanged(bool scale);
    void ScaleChanged();
    void SizeChanged();
    void OffsetChanged();
    void DefaultSizeChanged(int index);
    void Ok();
    void Cancel();
    void Apply();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FillSizeCombo();
    void ShowResult();
    void UpdateRectangle();
    void ShowSource();

    QPixmap mSourcePixmap;
    QPixmap mResultPixmap;
    QImage mSourceImage;
    QImage mResultImage;
    QStackedWidget* mpPages;
    QGraphicsScene* mpSourceScene;
    QGraphicsScene* mpResultScene;
    CPictureItem* mpSourceItem;
    CPictureItem* mpResultItem;
    QGraphicsRectItem* mpSelection;
    QGraphicsView* mpSourceView;
    QGraphicsView* mpResultView;
    QSpinBox* mpScaleWidth;
    QSpinBox* mpScaleHeight;
    QSpinBox* mpCropWidth;
    QSpinBox* mpCropHeight;
    QSpinBox* mpOffsetX;
    QSpinBox* mpOffsetY;
    QRadioButton* mpScaleButton;
    QRadioButton* mpCropButton;
    QPushButton* mpOk;
    QPushButton* mpCancel;
    QComboBox* mpSizeCombo;
    QList<QSize> mComboEntries;
    CSizeLists mSizeLists;
    bool mEmp = false;
    bool mCrop = false;
};

// A frame around a graphics view: the source or result area of the resize dialogs.
class QGroupBox;
QGroupBox* MakeViewBox(QWidget* parent, const QString& title, QGraphicsView* view);
// A page of labelled spin boxes; an empty label leaves its box without one.
QWidget* MakeBoxPage(QWidget* parent, const QList<QPair<QString, QSpinBox*>>& rows);
