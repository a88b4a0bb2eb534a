#include "Documents/CAnimationFrame.h"

CAnimationFrame::CAnimationFrame(const QImage& image, int displayTime) : m_Image(image), m_DisplayTime(displayTime) {}

CAnimationFrame::CAnimationFrame(const CAnimationFrame& other)
    : m_Image(other.m_Image.copy()), m_DisplayTime(other.m_DisplayTime)
{}

CAnimationFrame& CAnimationFrame::operator=(const CAnimationFrame& other)
{
    if (this != &other) {
        m_Image = other.m_Image.copy();
        m_DisplayTime = other.m_DisplayTime;
    }
    return *this;
}
