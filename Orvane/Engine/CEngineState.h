#pragma once
#include "CParameterChoices.h"
#include "CWaitingPopup.h"
#include <QHash>
#include <QString>
#include <memory>

class CDocument;
class CDocumentAbstract;
class CMainWindowLink;
class CPluginBase;
class CPluginClass;
class CResizeAsker;

// What the conversion engine keeps between the application's calls: the media tab's loaded
// document and its current result, the state of a running conversion, and the window-side services.
class CEngineState
{
public:
    CEngineState() = default;
    ~CEngineState();
    CEngineState(const CEngineState&) = delete;
    CEngineState& operator=(const CEngineState&) = delete;

    // Forgets the current result: preview and result documents, the output chunks that the result converter
    // still holds, and the result converter.
    void DiscardResult();
    // Deletes the loaded document and forgets its importer.
    void DiscardLoadedDocument();
    // Both, at shut-down (before the plug-ins that made the documents are unloaded).
    void Clear();

    // The imported source of the media tab and the importer that made it; the document is owned.
    CDocument* mpLoadedDocument = nullptr;
    CPluginBase* mpLoadedImporter = nullptr;
    // The preview of the last conversion or of the last preview load; owned.
    CDocument* mpPreviewDocument = nullptr;
    // The joined output bytes of the last conversion; owned. Its name follows the last file saved.
    CDocumentAbstract* mpResultDocument = nullptr;
    // The converter that made the current result; its output chunks are the result's files.
    CPluginBase* mpResultConverter = nullptr;
    // The name of the document in work, shown in progress texts.
    QString mConvertedDocumentName;

    // What the user chose in each converter's parameter form, by the converter's record.
    QHash<const CPluginClass*, CParameterChoices> mParameterChoices;

    // Resize every animation before it is converted.
    int mResizeOption = 0;
    // The converter whose Cancel the cancel button reaches, and the shared cancel flag.
    CPluginBase* mpRunningConverter = nullptr;
    int mCancelFlag = 0;

    // The waiting popup of a running conversion, translation or batch run; null otherwise.
    std::unique_ptr<CWaitingPopup> mpPopup;
    // The main window's progress and converted-state slots; null in command-line mode. Not owned.
    CMainWindowLink* mpWindow = nullptr;
    // Offers the resize dialogs; null when none can be shown (the resize then counts as cancelled). Not owned.
    CResizeAsker* mpResizeAsker = nullptr;
};
