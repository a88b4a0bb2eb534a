#pragma once
#include <QImage>

// One frame of an animation: a picture and how long it stays on screen.
class CAnimationFrame
{
public:
    static constexpr int DEFAULT_DISPLAY_TIME = 1000; // milliseconds

    CAnimationFrame() = default;
    CAnimationFrame(const QImage& image, int displayTime);
    // Copies own their pixels: changing a copy never shows in the original.
    CAnimationFrame(const CAnimationFrame& other);
    CAnimationFrame& operator=(const CAnimationFrame& other);

    const QImage& GetImage() const { return m_Image; }
    QImage& GetImage() { return m_Image; }
    void SetImage(const QImage& image) { m_Image = image; }
    int GetDisplayTime() const { return m_DisplayTime; }
    void SetDisplayTime(int milliseconds) { m_DisplayTime = milliseconds; }

private:
    QImage m_Image;
    int m_DisplayTime = DEFAULT_DISPLAY_TIME;
};
