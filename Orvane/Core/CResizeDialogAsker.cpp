#include "CResizeDialogAsker.h"
#include "CUserPrompt.h"
#include "Documents/CDocumentAnimation.h"
#include "Gui/Resize/CResizeDialog.h"
#include "Gui/Resize/CResizeGIFDialog.h"
#include "Gui/Window/CGuiServices.h"

namespace {

// A window over the main window with a title bar and the usual border and system menu.
constexpr Qt::WindowFlags DIALOG_FLAGS = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;

} // namespace

bool CResizeDialogAsker::AskPictureResize(const CResizeRequest& request, const QImage& source, QImage& result)
{
    CResizeDialog dialog(CGuiServices::MainWindow(), DIALOG_FLAGS);
    dialog.setWindowTitle(request.mCaption);
    dialog.SetFormat(request.mFormat);
    dialog.SetCropSizeList(request.mCropSizes);
    dialog.SetScaleSizeList(request.mScaleSizes);
    dialog.SetImage(source);
    if (CGuiServices::Prompt().Exec(dialog) != QDialog::Accepted || dialog.GetResultImage().isNull())
        return false;
    result = dialog.GetResultImage();
    return true;
}

bool CResizeDialogAsker::AskAnimationResize(const CResizeRequest& request, int maxFrameCount,
                                            const CDocumentAnimation& source, CDocumentAnimation& result)
{
    CResizeGIFDialog dialog(CGuiServices::MainWindow(), DIALOG_FLAGS);
    dialog.setWindowTitle(request.mCaption);
    dialog.SetFormat(request.mFormat);
    dialog.SetCropSizeList(request.mCropSizes);
    dialog.SetScaleSizeList(request.mScaleSizes);
    dialog.SetMaxKeptFrames(unsigned(qMax(0, maxFrameCount)));
    dialog.SetChosenSize(request.mChosenSize);
    dialog.SetAnimation(&source);
    if (CGuiServices::Prompt().Exec(dialog) != QDialog::Accepted || !dialog.GetResult())
        return false;
    // The result belongs to the dialog: its frames are copied before it goes.
    const CDocumentAnimation* kept = dialog.GetResult();
    for (int i = 0; i < kept->GetAnimationFrameCount(); ++i)
        result.AppendFrame(kept->GetFrame(i)->GetImage(), kept->GetFrame(i)->GetDisplayTime());
    return true;
}
