// The engine's media tab: loading, previews, saving and the export extensions.
#include "CEngineHost.h"
#include "CMediaLoader.h"
#include "CMediaSave.h"
#include "COrvEngine.h"
#include "CSourceGuard.h"
#include "Documents/CDocumentAbstract.h"
#include "EngineSupport.h"
#include "Host/CPluginClass.h"
#include "Plugin/CPluginBase.h"

void COrvEngine::LoadMediaAsked(QString& path, int converter, B32& success)
{
    // From the first byte read to the document kept, a file too large for the memory left fails alone.
    success = 0;
    CSourceGuard guard(*this, path, Message("id_import_failed"));
    guard.Run({}, [&] { success = CMediaLoader(m_Host, m_State).LoadMedia(path, converter); });
}

void COrvEngine::ClearMediaAsked()
{
    m_State.DiscardLoadedDocument();
}

void COrvEngine::GetLoadedDocument(CDocument** document)
{
    if (document)
        *document = m_State.mpLoadedDocument;
}

void COrvEngine::GetPreviewDocument(CDocument** document)
{
    if (document)
        *document = m_State.mpPreviewDocument;
}

void COrvEngine::GetPreviewRawData(CDocument** document)
{
    if (document)
        *document = m_State.mpResultDocument;
}

void COrvEngine::GetResultFileName(QString& name)
{
    if (m_State.mpResultDocument)
        name = m_State.mpResultDocument->GetName();
}

void COrvEngine::GetPreviewFileList(CDocument::DOCTYPE& type, QStringList& names, const QString& base, int converter)
{
    int previewType = type;
    names = CMediaLoader(m_Host, m_State).GetPreviewFileList(previewType, base, converter);
    type = CDocument::DOCTYPE(previewType);
}

void COrvEngine::LoadPreviewAsked(const QStringList& names, CDocument::DOCTYPE type, B32& success)
{
    success = 0;
    CSourceGuard guard(*this, names.value(0), Message("id_warning"));
    guard.Run({}, [&] { success = CMediaLoader(m_Host, m_State).LoadPreview(names, type); });
}

void COrvEngine::SaveAsked(B32 savePreview, QString folder, QString sourceName, B32& saved)
{
    // A save that runs out of memory takes back the files it wrote.
    saved = 0;
    const QString source = m_State.mpLoadedDocument ? m_State.mpLoadedDocument->GetName() : sourceName;
    CSourceGuard guard(*this, source, Message("id_warning"));
    guard.Run({}, [&] { saved = CMediaSave(m_Host, m_State).Save(savePreview, folder, sourceName) ? 1 : 0; });
}

void COrvEngine::GetExportExtension(QString& extension)
{
    if (m_State.mpLoadedDocument && m_State.mpResultConverter)
        extension = m_State.mpResultConverter->GetExportExtension();
}

void COrvEngine::GetExportExtensionForConverter(QString& extension, int converter)
{
    if (CPluginBase* found = ConverterAt(m_Host.GetConverterList(m_Host.GetCurrentProfile()), converter))
        extension = found->GetExportExtension();
}

void COrvEngine::GetExportExtensionForTranslator(QString& extension, int translator)
{
    if (CPluginBase* found = ConverterAt(m_Host.GetTraductorList(m_Host.GetCurrentProfile()), translator))
        extension = found->GetExportExtension();
}
