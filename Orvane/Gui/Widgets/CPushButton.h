#pragma once
#include <QPixmap>
#include <QWidget>

class QMenu;

// A button drawn entirely from three pictures: normal, pressed (while the pointer is over it) and disabled.
class CPushButton : public QWidget
{
    Q_OBJECT
public:
    CPushButton(const QPixmap& normal, const QPixmap& activated, const QPixmap& disabled, QWidget* parent,
                QMenu* popup = nullptr);

    QSize sizeHint() const override;
    // The picture shown now.
    const QPixmap& CurrentPixmap() const { return mCurrent; }

signals:
    void Clicked();
    void Activated(const QPoint& position, QMenu* popup);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void SetCurrentPixmap(const QPixmap& pixmap);
    // Strictly inside: the first row and column do not count.
    bool IsInside(const QPoint& point) const;

    QPixmap mNormal;
    QPixmap mActivated;
    QPixmap mDisabled;
    QPixmap mCurrent;
    QMenu* mpPopup;
    bool mPressed = false;
    bool mInside = false;
};
