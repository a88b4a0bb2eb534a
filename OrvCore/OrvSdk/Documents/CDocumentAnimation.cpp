#include "Documents/CDocumentAnimation.h"
#include "Util/Assert.h"
#include "Util/SafeFileWrite.h"

CDocumentAnimation::CDocumentAnimation(const CDocumentAnimation& other) : CDocument()
{
    m_Frames.reserve(other.m_Frames.size());
    for (const auto& frame : other.m_Frames)
        m_Frames.push_back(std::make_unique<CAnimationFrame>(*frame));
}

CDocumentAnimation::~CDocumentAnimation()
{
    RemoveAllFrames();
}

CAnimationFrame* CDocumentAnimation::GetFrame(int n)
{
    if (n < 0 || n >= GetAnimationFrameCount())
        return nullptr;
    return m_Frames[size_t(n)].get();
}

const CAnimationFrame* CDocumentAnimation::GetFrame(int n) const
{
    if (n < 0 || n >= GetAnimationFrameCount())
        return nullptr;
    return m_Frames[size_t(n)].get();
}

void CDocumentAnimation::AppendFrame(CAnimationFrame* frame)
{
    if (frame)
        m_Frames.emplace_back(frame);
}

void CDocumentAnimation::AppendFrame(const QImage& image, int displayTime)
{
    m_Frames.push_back(std::make_unique<CAnimationFrame>(image, displayTime));
}

bool CDocumentAnimation::RemoveFrame(int n)
{
    if (n < 0 || n >= GetAnimationFrameCount())
        return false;
    m_Frames.erase(m_Frames.begin() + n);
    return true;
}

void CDocumentAnimation::RemoveAllFrames()
{
    m_Frames.clear();
}

bool CDocumentAnimation::SaveFrame(const QString& path, int frame, QString* reason) const
{
    ASSERT(frame < GetAnimationFrameCount());
    const CAnimationFrame* source = GetFrame(frame);
    if (!source)
        return false;
    return WriteImageSafely(path, source->GetImage(), "BMP", reason);
}
