#include "CEngineState.h"
#include "Documents/CDocumentAbstract.h"
#include "Plugin/CPluginBase.h"

CEngineState::~CEngineState()
{
    Clear();
}

void CEngineState::DiscardResult()
{
    delete mpPreviewDocument;
    mpPreviewDocument = nullptr;
    delete mpResultDocument;
    mpResultDocument = nullptr;
    if (mpResultConverter)
        mpResultConverter->ClearRawData();
    mpResultConverter = nullptr;
}

void CEngineState::DiscardLoadedDocument()
{
    delete mpLoadedDocument;
    mpLoadedDocument = nullptr;
    mpLoadedImporter = nullptr;
}

void CEngineState::Clear()
{
    DiscardLoadedDocument();
    DiscardResult();
    mpRunningConverter = nullptr;
}
