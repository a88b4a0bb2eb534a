#include "Gui/Preview/CPreviewPanel.h"
#include "Documents/CDocumentAbstract.h"
#include "Documents/CDocumentAnimation.h"
#include "Documents/CDocumentPicture.h"
#include "Gui/Preview/CFittedPictureLabel.h"
#include "Gui/Preview/CPlayerControl.h"
#include "Gui/Preview/CSoundOutput.h"
#include "Gui/Widgets/GuiResources.h"
#include "Gui/Window/CGuiServices.h"
#include "Wave/CDocumentWave.h"
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QStackedWidget>
#include <QTimerEvent>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtDebug>

namespace {

// Enough candidates for any real folder, and a bound for a folder that fills up while we look.
const int MAX_TEMP_FILES = 100000;

QString TryTempFiles(const QString& folder, bool& writable)
{
    writable = true;
    for (int n = 0; n < MAX_TEMP_FILES; ++n) {
        const QString candidate = folder + QStringLiteral("/tmp") + QString::number(n) + QStringLiteral(".wav");
        QFile file(candidate);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return candidate;
        if (!file.exists()) {
            writable = false;
            return QString();
        }
    }
    return QString();
}

} // namespace

void FitPictureSize(const QPixmap& pixmap, int& width, int& height)
{
    if (pixmap.width() <= 0 || pixmap.height() <= 0)
        return;
    const double rw = double(width) / pixmap.width();
    const double rh = double(height) / pixmap.height();
    if (rw >= 1.0 && rh >= 1.0)
        return;
    if (rw >= rh)
        width = qMax(1, int(width * rh / rw));
    else
        height = qMax(1, int(height * rw / rh));
}

QString MakeTempSoundFile(const QString& folder)
{
    bool writable = true;
    const QString name = TryTempFiles(folder, writable);
    if (!name.isEmpty() || writable)
        return name;
    return TryTempFiles(QDir::tempPath(), writable);
}

CPreviewPanel::CPreviewPanel(QWidget* parent, const QString& name)
    : QWidget(parent), mpPages(new QStackedWidget(this)), mpPictureLabel(new CFittedPictureLabel),
      mpHexList(new QTreeWidget), mpSoundLabel(new QLabel), mpPlayer(new CPlayerControl(this, QString()))
{
    setObjectName(name);
    auto* picturePage = new QFrame;
    auto* pictureGrid = new QGridLayout(picturePage);
    // The page gives the picture all of its room; the label shrinks a larger picture keeping its shape.
    pictureGrid->setContentsMargins(0, 0, 0, 0);
    pictureGrid->addWidget(mpPictureLabel, 0, 0, Qt::AlignCenter);
    mpPictureLabel->setAutoFillBackground(false);

    QFont courier(QStringLiteral("Courier"), 8, QFont::Normal, false);
    courier.setStyleHint(QFont::TypeWriter);
    mpHexList->setFont(courier);
    mpHexList->setColumnCount(3);
    mpHexList->setHeaderLabels({QStringLiteral("Address"), QStringLiteral("Hexa"), QStringLiteral("Ascii")});
    mpHexList->setRootIsDecorated(false);
    mpHexList->setUniformRowHeights(true);
    mpHexList->header()->setSectionsMovable(false);
    mpHexList->header()->setSectionsClickable(false);
    mpHexList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    mpHexList->sortByColumn(0, Qt::AscendingOrder);

    mpSoundLabel->setAlignment(Qt::AlignCenter);
    mpPages->insertWidget(PICTURE_PAGE, picturePage);
    mpPages->insertWidget(HEX_PAGE, mpHexList);
    mpPages->insertWidget(SOUND_PAGE, mpSoundLabel);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* column = new QVBoxLayout;
    column->addWidget(mpPages, 1);
    // The player keeps its own height: the display takes the rest.
    mpPlayer->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    column->addWidget(mpPlayer);
    grid->addLayout(column, 0, 0);
    setFocusPolicy(Qt::StrongFocus);

    CheckConnection(connect(mpPlayer, &CPlayerControl::PlayClicked, this, &CPreviewPanel::Play));
    CheckConnection(connect(mpPlayer, &CPlayerControl::StopClicked, this, &CPreviewPanel::Stop));
    CheckConnection(connect(mpPlayer, &CPlayerControl::PreviousClicked, this, &CPreviewPanel::Previous));
    CheckConnection(connect(mpPlayer, &CPlayerControl::NextClicked, this, &CPreviewPanel::Next));
    DisplayMedia();
}

CPreviewPanel::~CPreviewPanel()
{
    ClearMedia();
}

void CPreviewPanel::LoadMedia(CDocument* document)
{
    ClearMedia();
    mpDocument = document;
    mDocType = document ? document->GetDocType() : 0;
    DisplayMedia();
}

void CPreviewPanel::ClearMedia()
{
    if (!mpDocument)
        return;
    RemoveTempSound();
    if (mAutoDelete)
        delete mpDocument;
    mpDocument = nullptr;
}

void CPreviewPanel::RemoveTempSound()
{
    Stop();
    if (!mTempSound.isEmpty()) {
        // The sound lets go of its file before the file goes.
        mpSound.reset();
        QFile::remove(mTempSound);
        mTempSound.clear();
    }
}

int CPreviewPanel::FrameCount() const
{
    if (!mpDocument || mDocType != CDocument::ANIMATION)
        return 0;
    return static_cast<const CDocumentAnimation*>(mpDocument)->GetAnimationFrameCount();
}

void CPreviewPanel::DisplayMedia()
{
    switch (mpDocument ? mDocType : 0) {
    case 0:
        mpPlayer->hide();
        mpPages->setCurrentIndex(PICTURE_PAGE);
        break;
    case CDocument::ABSTRACT:
        mpPlayer->hide();
        mpPages->setCurrentIndex(HEX_PAGE);
        break;
    case CDocument::WAVE:
        mpPlayer->ShowButtons(CPlayerControl::PLAY | CPlayerControl::STOP);
        mpPlayer->EnableButtons(CPlayerControl::PLAY | CPlayerControl::STOP, true);
        mpPlayer->show();
        mpPages->setCurrentIndex(SOUND_PAGE);
        SetUpSound();
        mpSoundLabel->setText(GuiText("CPreviewPanel", "id_preview_play"));
        break;
    case CDocument::PICTURE:
        mpPlayer->hide();
        mpPages->setCurrentIndex(PICTURE_PAGE);
        break;
    case CDocument::ANIMATION:
        mpPlayer->ShowButtons(CPlayerControl::ALL);
        mpPlayer->show();
        mpPages->setCurrentIndex(PICTURE_PAGE);
        if (FrameCount() > 0) {
            mpPlayer->EnableButtons(CPlayerControl::ALL, true);
            mpPlayer->EnableButtons(CPlayerControl::STOP, false);
            mFrame = 0;
        } else {
            mpPlayer->EnableButtons(CPlayerControl::ALL, false);
            mFrame = -1;
        }
        break;
    default:
        break;
    }
    UpdateDisplay();
}

void CPreviewPanel::SetUpSound()
{
    mpSound.reset();
    auto* wave = static_cast<CDocumentWave*>(mpDocument);
    QString file = wave->GetName();
    if (file.isEmpty()) {
        file = MakeTempSoundFile(CGuiServices::TempFolder());
        if (file.isEmpty())
            return;
        mTempSound = file;
        qDebug() << "temporary sound" << file;
        // A sound that cannot be written simply plays nothing.
        wave->SaveInputWave(file);
    }
    mpSound = CGuiServices::SoundOutput().Open(file);
}

void CPreviewPanel::ShowFitted(const QImage& image, int width, int height)
{
    const QPixmap pixmap = QPixmap::fromImage(image, Qt::ColorOnly);
    mpPictureLabel->resize(pixmap.size());
    mpPictureLabel->setPixmap(pixmap);
    mpPages->setMaximumSize(qMax(0, width), qMax(0, height));
    FitPictureSize(pixmap, width, height);
    mpPictureLabel->setMaximumSize(qMax(0, width), qMax(0, height));
    mpPictureLabel->show();
}

void CPreviewPanel::UpdateDisplay()
{
    int width = this->width();
    int height = this->height();
    switch (mpDocument ? mDocType : 0) {
    case 0:
        mpPictureLabel->hide();
        mpPictureLabel->setPixmap(QPixmap());
        break;
    case CDocument::ABSTRACT:
        FillHexView();
        break;
    case CDocument::PICTURE:
        mpPictureLabel->hide();
        ShowFitted(static_cast<CDocumentPicture*>(mpDocument)->GetImage(), width, height);
        break;
    case CDocument::ANIMATION: {
        const auto* animation = static_cast<CDocumentAnimation*>(mpDocument);
        const CAnimationFrame* frame = mFrame >= 0 ? animation->GetFrame(mFrame) : nullptr;
        // The player's own height, not the one it has now: before the first layout it may hold any size, and
        // the display would be fitted into what is left of it.
        if (frame)
            ShowFitted(frame->GetImage(), width, height - mpPlayer->sizeHint().height());
        else
            mpPictureLabel->setPixmap(QPixmap());
        break;
    }
    default:
        mpPictureLabel->setPixmap(QPixmap());
        mpPictureLabel->hide();
        break;
    }
}

void CPreviewPanel::FillHexView()
{
    mpHexList->clear();
    const auto* raw = static_cast<const CDocumentAbstract*>(mpDocument);
    const uchar* data = raw->GetData();
    const uint32_t size = raw->GetSize();
    if (!data || size == 0)
        return;
    static const char digits[] = "0123456789ABCDEF";
    QList<QTreeWidgetItem*> rows;
    rows.reserve(int(size / 16 + 1));
    for (uint32_t offset = 0; offset < size; offset += 16) {
        const uint32_t count = qMin<uint32_t>(16, size - offset);
        QString hexa(QLatin1Char(' '));
        QString ascii;
        for (uint32_t i = 0; i < count; ++i) {
            const uchar byte = data[offset + i];
            hexa += QLatin1Char(digits[byte >> 4]);
            hexa += QLatin1Char(digits[byte & 15]);
            hexa += QLatin1Char(' ');
            ascii += byte < 0x20 ? QLatin1Char(' ') : QLatin1Char(char(byte));
        }
        const QString address = QStringLiteral("%1").arg(offset, 8, 16, QLatin1Char('0')).toUpper().right(8);
        rows.append(new QTreeWidgetItem(QStringList{address, hexa, ascii}));
    }
    mpHexList->addTopLevelItems(rows);
}

void CPreviewPanel::Play()
{
    if (!mpDocument)
        return;
    if (mDocType == CDocument::WAVE) {
        if (mpSound) {
            if (!mpSound->IsFinished())
                mpSound->Stop();
            mpSound->Play();
        }
    } else if (mDocType == CDocument::ANIMATION && mTimer == 0) {
        mpPlayer->EnableButtons(CPlayerControl::PLAY, false);
        mpPlayer->EnableButtons(CPlayerControl::STOP, true);
        mFrame = -1;
        mTimer = startTimer(0);
    }
}

void CPreviewPanel::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != mTimer) {
        QWidget::timerEvent(event);
        return;
    }
    killTimer(mTimer);
    mTimer = 0;
    const int count = FrameCount();
    if (count > 0) {
        mFrame = mFrame + 1 >= count ? 0 : mFrame + 1;
        if (const CAnimationFrame* frame = static_cast<CDocumentAnimation*>(mpDocument)->GetFrame(mFrame))
            mTimer = startTimer(qMax(0, frame->GetDisplayTime()));
    }
    UpdateDisplay();
}

void CPreviewPanel::Stop()
{
    if (!mpDocument)
        return;
    if (mDocType == CDocument::WAVE) {
        if (mpSound && !mpSound->IsFinished()) {
            mpSound->Stop();
            mpBlank = CGuiServices::SoundOutput().Open(GuiSound("CPreviewPanel", "id_blank"));
            mpBlank->Play();
        }
    } else if (mDocType == CDocument::ANIMATION) {
        if (mTimer != 0) {
            killTimer(mTimer);
            mTimer = 0;
        }
        if (FrameCount() > 0) {
            mFrame = 0;
            mpPlayer->EnableButtons(CPlayerControl::PLAY, true);
            mpPlayer->EnableButtons(CPlayerControl::STOP, false);
            UpdateDisplay();
        }
    }
}

void CPreviewPanel::Next()
{
    if (!mpDocument || mDocType != CDocument::ANIMATION)
        return;
    const int count = FrameCount();
    mFrame = mFrame + 1 >= count ? 0 : mFrame + 1;
    UpdateDisplay();
    emit CurrentFrameChanged(mFrame);
}

void CPreviewPanel::Previous()
{
    if (!mpDocument || mDocType != CDocument::ANIMATION)
        return;
    mFrame = mFrame - 1 < 0 ? FrameCount() - 1 : mFrame - 1;
    UpdateDisplay();
    emit CurrentFrameChanged(mFrame);
}

void CPreviewPanel::SetCurrentFrame(int frame)
{
    mFrame = frame;
    UpdateDisplay();
}

void CPreviewPanel::keyPressEvent(QKeyEvent* event)
{
    event->ignore();
}

void CPreviewPanel::resizeEvent(QResizeEvent* event)
{
    if (mpDocument && (mDocType == CDocument::PICTURE || mDocType == CDocument::ANIMATION))
        UpdateDisplay();
    QWidget::resizeEvent(event);
}
