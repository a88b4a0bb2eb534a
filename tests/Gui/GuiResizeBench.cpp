// How fast the resize dialogs follow the user and the batch source panel gathers a large selection: a scale or
// crop change on a 1024 x 1024 picture, an animation of 100 frames of 128 x 128 set into the dialog, and the
// source files of 100 folders of 100 files walked recursively.
#include "Documents/CDocumentAnimation.h"
#include "Gui/Browsing/CFileSelectorControl.h"
#include "Gui/Panels/CBatchSelectorPanel.h"
#include "Gui/Resize/CResizeDialog.h"
#include "Gui/Resize/CResizeGIFDialog.h"
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct CBenchApplication
{
    CBenchApplication()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        mpApplication = std::make_unique<QApplication>(mArgc, mArgv);
    }
    int mArgc = 1;
    char mName[16] = "GuiResizeBench";
    char* mArgv[2] = {mName, nullptr};
    std::unique_ptr<QApplication> mpApplication;
};

QImage Picture(int width, int height, int seed)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgba((x + seed) & 255, (y * 3) & 255, (x ^ y) & 255, 255));
    return image;
}

void ScaleOrCropChangeOn1024(benchmark::State& state)
{
    CBenchApplication application;
    CResizeDialog dialog(nullptr, Qt::Dialog);
    dialog.SetCropSizeList({QSize(0, 0)});
    dialog.SetScaleSizeList({QSize(0, 0)});
    dialog.SetImage(Picture(1024, 1024, 0));
    const bool crop = state.range(0) != 0;
    if (crop) {
        dialog.GetCropButton()->setChecked(true);
        dialog.GetCropWidthBox()->setValue(512);
    }
    QSpinBox* box = crop ? dialog.GetOffsetXBox() : dialog.GetScaleWidthBox();
    const int values[2] = {crop ? 100 : 1000, crop ? 101 : 1001};
    int turn = 0;
    for (auto _ : state) {
        box->setValue(values[turn ^= 1]);
        benchmark::DoNotOptimize(dialog.GetResultImage().constBits());
    }
}
BENCHMARK(ScaleOrCropChangeOn1024)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void SetAnimationOf100Frames(benchmark::State& state)
{
    CBenchApplication application;
    CDocumentAnimation animation;
    for (int i = 0; i < 100; ++i)
        animation.AppendFrame(Picture(128, 128, i), 100);
    for (auto _ : state) {
        state.PauseTiming();
        auto dialog = std::make_unique<CResizeGIFDialog>(nullptr, Qt::Dialog);
        dialog->SetCropSizeList({QSize(64, 64), QSize(32, 32)});
        dialog->SetScaleSizeList({QSize(64, 64), QSize(32, 32)});
        dialog->SetMaxKeptFrames(100);
        state.ResumeTiming();
        dialog->SetAnimation(&animation);
        state.PauseTiming();
        dialog.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(SetAnimationOf100Frames)->Unit(benchmark::kMillisecond)->Iterations(5);

void SourceFilesOf10000(benchmark::State& state)
{
    CBenchApplication application;
    QTemporaryDir root;
    QDir dir(root.path());
    for (int folder = 0; folder < 100; ++folder) {
        const QString name = QStringLiteral("f%1").arg(folder);
        dir.mkdir(name);
        for (int file = 0; file < 100; ++file) {
            QFile out(dir.filePath(name + QStringLiteral("/s%1.mid").arg(file)));
            out.open(QIODevice::WriteOnly);
        }
    }
    CBatchSelectorPanel panel(nullptr, QStringLiteral("CBatchSelectorPanel"), 1);
    panel.SetCurrentFolder(root.path());
    panel.show();
    panel.GetFileList()->selectAll();
    panel.GetRecursiveBox()->setChecked(true);
    for (auto _ : state) {
        QStringList files;
        panel.GetSourceFileNameList(files);
        if (files.size() != 10000)
            state.SkipWithError("not every file was found");
    }
}
BENCHMARK(SourceFilesOf10000)->Unit(benchmark::kMillisecond);

} // namespace
