#pragma once
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <memory>

class CDocument;
class CFittedPictureLabel;
class CPlayerControl;
class CSound;
class QLabel;
class QStackedWidget;
class QTreeWidget;

// Shows one document of any kind: raw bytes as a hexadecimal dump, a wave as a sound to play, a picture
// fitted into the panel, an animation frame by frame. Documents stay their creator's.
class CPreviewPanel : public QWidget
{
    Q_OBJECT
public:
    enum
    {
        PICTURE_PAGE = 0,
        HEX_PAGE = 1,
        SOUND_PAGE = 2
    };

    CPreviewPanel(QWidget* parent, const QString& name);
    ~CPreviewPanel() override;

    // When set, the panel deletes each document it lets go of.
    void SetAutoDelete(bool on) { mAutoDelete = on; }

    // For tests and the panels that embed it.
    CPlayerControl* GetPlayer() const { return mpPlayer; }
    QTreeWidget* GetHexList() const { return mpHexList; }
    CFittedPictureLabel* GetPictureLabel() const { return mpPictureLabel; }
    QStackedWidget* GetPages() const { return mpPages; }
    CDocument* GetDocument() const { return mpDocument; }
    int GetCurrentFrame() const { return mFrame; }
    bool IsTimerRunning() const { return mTimer != 0; }
    const QString& GetTempSoundName() const { return mTempSound; }

public slots:
    // Shows the document (null shows nothing), letting the previous one go.
    virtual void LoadMedia(CDocument* document);
    // Shows frame n of the animation without a range check: a frame that does not exist shows nothing.
    virtual void SetCurrentFrame(int frame);

private slots:
    void Stop();
    void Play();
    void Next();
    void Previous();

signals:
    void CurrentFrameChanged(int frame);

protected:
    void timerEvent(QTimerEvent* event) override;
    // Keys go on to the parent.
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ClearMedia();
    void RemoveTempSound();
    void DisplayMedia();
    void UpdateDisplay();
    void FillHexView();
    void SetUpSound();
    // Shows the image fitted into width x height.
    void ShowFitted(const QImage& image, int width, int height);
    int FrameCount() const;

    QStackedWidget* mpPages;
    CFittedPictureLabel* mpPictureLabel;
    QTreeWidget* mpHexList;
    QLabel* mpSoundLabel;
    CPlayerControl* mpPlayer;
    CDocument* mpDocument = nullptr;
    // The type of the document held, kept so that stopping never reads a document that its owner may
    // already have deleted.
    int mDocType = 0;
    int mFrame = -1;
    int mTimer = 0;
    bool mAutoDelete = false;
    std::unique_ptr<CSound> mpSound;
    std::unique_ptr<CSound> mpBlank;
    QString mTempSound;
};

// Shrinks width x height to the pixmap's aspect ratio when the pixmap does not fit; never below 1.
void FitPictureSize(const QPixmap& pixmap, int& width, int& height);
// The file for a nameless sound: "tmpN.wav" with the first N free in the folder, made empty and new, or in
// the system's temporary folder when that folder cannot be written. Empty when no file can be made.
QString MakeTempSoundFile(const QString& folder);
