// The engine's conversion, translation, batch and command-line runs: each hands its work to the class of that
// job.
#include "CBatchRun.h"
#include "CCommandLineRun.h"
#include "CEngineHost.h"
#include "CMainWindowLink.h"
#include "CMediaConversion.h"
#include "COrvEngine.h"
#include "CSmsTranslation.h"
#include "Core/CGenerationInfo.h"
#include "EngineSupport.h"
#include "Plugin/CPluginBase.h"
#include <QFileInfo>

void COrvEngine::ConvertionAsked(B32, CGenerationInfo* info)
{
    if (info)
        CMediaConversion(*this).Run(*info);
}

void COrvEngine::TranslationAsked(CGenerationInfo* info, QString outputName)
{
    if (info)
        CSmsTranslation(*this).Run(*info, outputName);
}

void COrvEngine::LaunchAsked(CBatchInfoList* list, B32 savePreview, B32& result)
{
    result = CBatchRun(*this).Run(list, savePreview);
}

B32 COrvEngine::RunCommandLine()
{
    return CCommandLineRun(*this).Run();
}

QStringList COrvEngine::CommandLineNamedFiles(const QString& source)
{
    return CCommandLineRun(*this).NamedFiles(source);
}

namespace {

// The application shows its own text with the converter's value and ignores the converter's text.
void ShowProgress(const CEngineState& engine, int progress)
{
    if (!engine.mpWindow || engine.mCancelFlag != 0)
        return;
    engine.mpWindow->SetProgress(Message("id_processing", QFileInfo(engine.mConvertedDocumentName).fileName()),
                                 progress);
}

} // namespace

void COrvEngine::ProgressForConvertion(const QString, int progress)
{
    ShowProgress(m_State, progress);
}

void COrvEngine::ProgressForTranslation(const QString, int progress)
{
    ShowProgress(m_State, progress);
}

void COrvEngine::ProgressForBatch(const QString, int progress)
{
    ShowProgress(m_State, progress);
}

void COrvEngine::CancelConvertion()
{
    CPluginBase* converter = m_State.mpRunningConverter;
    if (!converter || converter->IsCancelable() == 0)
        return;
    if (m_State.mpWindow)
        m_State.mpWindow->InitProgressBar();
    m_State.mCancelFlag = converter->Cancel();
}

void COrvEngine::CancelBatch()
{
    if (m_State.mpWindow)
        m_State.mpWindow->InitProgressBar();
    m_State.mCancelFlag = 1;
}

void COrvEngine::SetResizeOption(B32 on)
{
    m_State.mResizeOption = on;
}
