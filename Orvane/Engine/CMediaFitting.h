#pragma once
#include <QImage>
#include <QList>
#include <QSize>

class CDocument;
class CDocumentAnimation;
class CDocumentPicture;
class CImageExporter;
class CPluginBase;
class CProfile;
class CResizeAsker;
struct CResizeRequest;

// Makes a picture or an animation fit the converter and the phone before a conversion, offering the resize
// dialogs when it does not, and puts the document back exactly as it was once the conversion is over.
class CMediaFitting
{
public:
    enum Outcome
    {
        UNCHANGED,
        CHANGED,
        CANCELLED
    };

    // asker may be null: a needed resize then counts as cancelled. profile may be null: no profile limits.
    CMediaFitting(CResizeAsker* asker, CProfile* profile, bool resizeEveryAnimation);

    // Checks the document (only pictures and animations are looked at) and changes it when the user accepts a
    // resize. CANCELLED when a needed resize was refused; the document is then unchanged.
    Outcome Fit(CDocument* document, CPluginBase* converter);
    // Gives the document its saved pictures and frames back; nothing when Fit changed nothing.
    void Restore();

    // Whether a picture of that size needs the resize dialog: the converter cannot write it, or it exceeds the
    // profile's largest picture (a picture exactly at the limit passes).
    bool NeedsResize(CImageExporter* exporter, const QSize& size) const;

private:
    struct CSavedFrame
    {
        QImage mImage;
        int mDisplayTime;
    };

    Outcome FitPicture(CDocumentPicture* picture, CPluginBase* converter);
    Outcome FitAnimation(CDocumentAnimation* animation, CPluginBase* converter);
    // The dialog's caption, format and size lists; ownSize, when valid, comes first and chosen.
    CResizeRequest MakeRequest(const char* captionId, CPluginBase* converter, const QSize& ownSize = QSize()) const;
    // How many frames the converter writes for the profile; no limit without the image operations.
    int MaxFrameCount(CImageExporter* exporter, int frameCount) const;

    CResizeAsker* m_pAsker;
    CProfile* m_pProfile;
    bool m_ResizeEveryAnimation;
    QSize m_MaxSize;

    CDocument* m_pChanged = nullptr;
    QImage m_SavedPicture;
    QList<CSavedFrame> m_SavedFrames;
};
