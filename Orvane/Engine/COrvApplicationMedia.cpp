// The application object's media-tab slots: loading, previews, saving and the export extensions.
#include "CMediaLoader.h"
#include "CMediaSave.h"
#include "Core/COrvApplication.h"
#include "Documents/CDocumentAbstract.h"
#include "EngineSupport.h"
#include "Plugin/CPluginBase.h"

void COrvApplication::LoadMediaAsked(QString& path, int converter, B32& success)
{
    success = CMediaLoader(*this, m_Engine).LoadMedia(path, converter);
}

void COrvApplication::ClearMediaAsked()
{
    m_Engine.DiscardLoadedDocument();
}

void COrvApplication::GetLoadedDocument(CDocument** document)
{
    if (document)
        *document = m_Engine.mpLoadedDocument;
}

void COrvApplication::GetPreviewDocument(CDocument** document)
{
    if (document)
        *document = m_Engine.mpPreviewDocument;
}

void COrvApplication::GetPreviewRawData(CDocument** document)
{
    if (document)
        *document = m_Engine.mpResultDocument;
}

void COrvApplication::GetResultFileName(QString& name)
{
    if (m_Engine.mpResultDocument)
        name = m_Engine.mpResultDocument->GetName();
}

void COrvApplication::GetPreviewFileList(CDocument::DOCTYPE& type, QStringList& names, const QString& base,
                                         int converter)
{
    int previewType = type;
    names = CMediaLoader(*this, m_Engine).GetPreviewFileList(previewType, base, converter);
    type = CDocument::DOCTYPE(previewType);
}

void COrvApplication::LoadPreviewAsked(const QStringList& names, CDocument::DOCTYPE type, B32& success)
{
    success = CMediaLoader(*this, m_Engine).LoadPreview(names, type);
}

void COrvApplication::SaveAsked(B32 savePreview, QString folder, QString sourceName)
{
    CMediaSave(*this, m_Engine).Save(savePreview, folder, sourceName);
}

void COrvApplication::GetExportExtension(QString& extension)
{
    if (m_Engine.mpLoadedDocument && m_Engine.mpResultConverter)
        extension = m_Engine.mpResultConverter->GetExportExtension();
}

void COrvApplication::GetExportExtensionForConverter(QString& extension, int converter)
{
    if (CPluginBase* found = ConverterAt(GetConverterList(m_pCurrentProfile), converter))
        extension = found->GetExportExtension();
}

void COrvApplication::GetExportExtensionForTranslator(QString& extension, int translator)
{
    if (CPluginBase* found = ConverterAt(GetTraductorList(m_pCurrentProfile), translator))
        extension = found->GetExportExtension();
}
