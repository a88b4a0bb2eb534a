#pragma once
#include <QLabel>
#include <QRect>

// A label that draws its pixmap at the pixmap's own size when it fits and otherwise shrinks it into the
// label with its aspect ratio kept, centred. Whatever size a layout gives the label, the picture is never
// stretched.
class CFittedPictureLabel : public QLabel
{
    Q_OBJECT
public:
    explicit CFittedPictureLabel(QWidget* parent = nullptr);

    // Where the pixmap is drawn, in the label's coordinates; empty without a pixmap.
    QRect PictureRect() const;
    // Where a picture of the given size would be drawn.
    QRect PlaceFor(const QSize& size) const;
    // The picture shrinks rather than holding the layout open.
    QSize minimumSizeHint() const override { return QSize(0, 0); }

signals:
    // The place of the picture changed (a new pixmap or a new label size).
    void PictureMoved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};

// The largest size of size's aspect ratio that fits into box, or size itself when it already fits; never
// below 1 x 1 for a picture that has pixels.
QSize FittedSize(const QSize& size, const QSize& box);
