#include "CBatchInfo.h"
#include "CGenerationInfo.h"
#include "CMainWindowAdapter.h"
#include "COrvApplication.h"
#include "CResizeDialogAsker.h"
#include "CSoundModule.h"
#include "Gui/Window/CGuiServices.h"
#include "Parameters/CParameters.h"
#include <memory>

void ConnectMainWindow(OrvaneMainWindow& window, COrvApplication& application)
{
    using W = OrvaneMainWindow;
    using A = COrvApplication;
    W* w = &window;
    A* a = &application;
    QObject::connect(w, &W::GetCurrentPath, a, qOverload<QString&>(&A::GetCurrentPath));
    QObject::connect(w, &W::GetProfileNameList, a, &A::GetProfileNameList);
    QObject::connect(w, &W::CurrentProfile, a, &A::SetCurrentProfile);
    QObject::connect(w, &W::ResizeSystematic, a, &A::SetResizeOption);
    QObject::connect(w, &W::GetVersionNumber, a, &A::GetVersionNumber);
    QObject::connect(w, &W::GetInstalledPlugins, a, &A::GetInstalledPlugins);
    QObject::connect(w, &W::GetApplicationPath, a, qOverload<QString&>(&A::GetApplicationPath));
    QObject::connect(w, &W::GetEntireNameList, a, &A::GetEntireNameList);
    QObject::connect(w, &W::GetConverterImportExtensionList, a, &A::GetConverterImportExtensionList);
    QObject::connect(w, &W::GetTraductorImportExtensionList, a, &A::GetTraductorImportExtensionList);
    QObject::connect(w, &W::GetEntireImportExtensionList, a, &A::GetEntireImportExtensionList);
    QObject::connect(w, &W::GetConverterNameList, a, &A::GetConverterNameList);
    QObject::connect(w, &W::GetTraductorNameList, a, &A::GetTraductorNameList);
    QObject::connect(w, &W::ConvertionAsked, a, &A::ConvertionAsked);
    QObject::connect(w, &W::TranslationAsked, a, &A::TranslationAsked);
    QObject::connect(w, &W::LaunchAsked, a, &A::LaunchAsked);
    QObject::connect(w, &W::GetExportExtension, a, &A::GetExportExtension);
    QObject::connect(w, &W::GetExportExtensionForConverter, a, &A::GetExportExtensionForConverter);
    QObject::connect(w, &W::GetPreviewFileList, a, &A::GetPreviewFileList);
    QObject::connect(w, &W::SaveAsked, a, &A::SaveAsked);
    QObject::connect(w, &W::GetPreviewDocument, a, qOverload<CDocument**>(&A::GetPreviewDocument));
    QObject::connect(w, &W::GetPreviewRawData, a, &A::GetPreviewRawData);
    QObject::connect(w, &W::GetConverterParameters, a, &A::GetConverterParameters);
    QObject::connect(w, &W::GetTraductorParameters, a, &A::GetTraductorParameters);
    QObject::connect(w, &W::GetExtensionListForBatch, a, &A::GetExtensionListForBatch);
    QObject::connect(w, &W::GetResultFileName, a, &A::GetResultFileName);
    QObject::connect(w, &W::LoadPreviewAsked, a, &A::LoadPreviewAsked);
    QObject::connect(w, &W::LoadMediaAsked, a, &A::LoadMediaAsked);
    QObject::connect(w, &W::ClearMediaAsked, a, &A::ClearMediaAsked);
    QObject::connect(w, &W::GetLoadedDocument, a, &A::GetLoadedDocument);
    QObject::connect(w, &W::GetExportExtensionForTranslator, a, &A::GetExportExtensionForTranslator);
    QObject::connect(w, &W::LoadParamsAsked, a, &A::LoadParamsAsked);
    QObject::connect(w, &W::SaveParamsAsked, a, &A::SaveParamsAsked);
    QObject::connect(w, &W::LoadDefaultParamsAsked, a, &A::LoadDefaultParamsAsked);
    QObject::connect(w, &W::LoadTraductorParamsAsked, a, &A::LoadTraductorParamsAsked);
    QObject::connect(w, &W::LoadDefaultTraductorParamsAsked, a, &A::LoadDefaultTraductorParamsAsked);
}

QString COrvApplication::GetSettingsFilePath() const
{
    return m_ApplicationPath + QStringLiteral("/Settings.xml");
}

int COrvApplication::RunMainWindow()
{
    // The window's services first: its panels may ask questions while they are built.
    CSoundModule sound(m_ApplicationPath);
    CGuiServices::SetPrompt(&GetUserPrompt());
    CGuiServices::SetSoundOutput(&sound.Output());
    CGuiServices::SetFallbackTempFolder(m_CurrentPath);

    auto window = std::make_unique<OrvaneMainWindow>(nullptr, Qt::Window);
    m_pMainWindow = window.get();
    ConnectMainWindow(*window, *this);
    CMainWindowAdapter adapter(*window);
    m_Engine.State().mpWindow = &adapter;
    CResizeDialogAsker resizeAsker;
    m_Engine.State().mpResizeAsker = &resizeAsker;

    const QString settings = GetSettingsFilePath();
    window->LoadSettings(settings);
    window->show();
    exec();
    m_EventLoopRan = 1;
    window->SaveSettings(settings);

    m_Engine.State().mpWindow = nullptr;
    m_Engine.State().mpResizeAsker = nullptr;
    m_pMainWindow = nullptr;
    window.reset();
    CGuiServices::Clear();
    return 1;
}
