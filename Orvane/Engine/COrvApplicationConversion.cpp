// The application object's conversion, translation, batch and command-line slots: each hands its work to the
// engine class of that job.
#include "CBatchRun.h"
#include "CCommandLineRun.h"
#include "CMainWindowLink.h"
#include "CMediaConversion.h"
#include "CSmsTranslation.h"
#include "Core/CGenerationInfo.h"
#include "Core/COrvApplication.h"
#include "Plugin/CPluginBase.h"
#include <QFileInfo>

void COrvApplication::ConvertionAsked(B32, CGenerationInfo* info)
{
    if (info)
        CMediaConversion(*this, m_Engine).Run(*info);
}

void COrvApplication::TranslationAsked(CGenerationInfo* info, QString outputName)
{
    if (info)
        CSmsTranslation(*this, m_Engine).Run(*info, outputName);
}

void COrvApplication::LaunchAsked(CBatchInfoList* list, B32 savePreview, B32& result)
{
    result = CBatchRun(*this, m_Engine).Run(list, savePreview);
}

B32 COrvApplication::RunCommandLine()
{
    return CCommandLineRun(*this).Run();
}

namespace {

// The application shows its own text with the converter's value and ignores the converter's text.
void ShowProgress(const CEngineState& engine, int progress)
{
    if (!engine.mpWindow || engine.mCancelFlag != 0)
        return;
    engine.mpWindow->SetProgress(
        COrvApplication::Message(QStringLiteral("id_processing")).arg(QFileInfo(engine.mConvertedDocumentName).fileName()),
        progress);
}

} // namespace

void COrvApplication::ProgressForConvertion(const QString, int progress)
{
    ShowProgress(m_Engine, progress);
}

void COrvApplication::ProgressForTranslation(const QString, int progress)
{
    ShowProgress(m_Engine, progress);
}

void COrvApplication::ProgressForBatch(const QString, int progress)
{
    ShowProgress(m_Engine, progress);
}

void COrvApplication::CancelConvertion()
{
    CPluginBase* converter = m_Engine.mpRunningConverter;
    if (!converter || converter->IsCancelable() == 0)
        return;
    if (m_Engine.mpWindow)
        m_Engine.mpWindow->InitProgressBar();
    m_Engine.mCancelFlag = converter->Cancel();
}

void COrvApplication::CancelBatch()
{
    if (m_Engine.mpWindow)
        m_Engine.mpWindow->InitProgressBar();
    m_Engine.mCancelFlag = 1;
}

void COrvApplication::SetResizeOption(B32 on)
{
    m_Engine.mResizeOption = on;
}
