#pragma once
#include "Documents/CAnimationFrame.h"
#include "Documents/CDocument.h"

#include <memory>
#include <vector>

// An animation: frames in display order, owned by the document.
class CDocumentAnimation : public CDocument
{
public:
    CDocumentAnimation() = default;
    // Deep copies of every frame, in order; the copy's name is empty.
    CDocumentAnimation(const CDocumentAnimation& other);
    CDocumentAnimation& operator=(const CDocumentAnimation&) = delete;
    ~CDocumentAnimation() override;

    int GetDocType() override { return ANIMATION; }

    int GetAnimationFrameCount() const { return int(m_Frames.size()); }
    // Null for an index outside the list.
    CAnimationFrame* GetFrame(int n);
    const CAnimationFrame* GetFrame(int n) const;
    // The document takes the frame over; a null frame is ignored.
    void AppendFrame(CAnimationFrame* frame);
    void AppendFrame(const QImage& image, int displayTime);
    // Removes and deletes frame n; false when there is no such frame.
    bool RemoveFrame(int n);
    void RemoveAllFrames();

    // Writes frame n as BMP, whole or not at all; false for a missing frame or a failed write (reason, when
    // given, says why).
    bool SaveFrame(const QString& path, int frame, QString* reason = nullptr) const;

private:
    std::vector<std::unique_ptr<CAnimationFrame>> m_Frames;
};
