#pragma once
#include <QGraphicsRectItem>

class QPixmap;

// A rectangle item that shows a pixmap instead of a filled rectangle: the pictures of the resize dialogs.
class CPictureItem : public QGraphicsRectItem
{
public:
    explicit CPictureItem(QGraphicsItem* parent = nullptr) : QGraphicsRectItem(parent) {}

    // Keeps the pointer (not owned) and takes the pixmap's size; null shows nothing and has no size.
    void SetPixmap(const QPixmap* pixmap);
    const QPixmap* GetPixmap() const { return mpPixmap; }

    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    const QPixmap* mpPixmap = nullptr;
};
