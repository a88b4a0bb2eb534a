// The application object's engine slots: each relays to the engine object.
#include "COrvApplication.h"
#include "Engine/CWaitingPopup.h"
#include "Gui/Widgets/CProgressPopupWindow.h"

namespace {

// The engine's view of the popup window that the user interface makes.
class CWaitingPopupWindow : public CWaitingPopup
{
public:
    explicit CWaitingPopupWindow(QWidget* parent) : m_Window(parent) {}
    void SetTitle(const QString& title) override { m_Window.SetTitle(title); }
    void SetText(const QString& text) override { m_Window.SetText(text); }
    void Show() override { m_Window.Show(); }
    void Hide() override { m_Window.Hide(); }
    void OfferCancel(const QString& caption, std::function<void()> cancel) override
    {
        m_Window.OfferCancel(caption, std::move(cancel));
    }
    void WithdrawCancel() override { m_Window.WithdrawCancel(); }

private:
    CProgressPopupWindow m_Window;
};

} // namespace

CWaitingPopup* COrvApplication::CreateWaitingPopup(QWidget* parent)
{
    return new CWaitingPopupWindow(parent);
}

B32 COrvApplication::RunCommandLine()
{
    return m_Engine.RunCommandLine();
}

void COrvApplication::GetConverterParameters(int converter, CParameters** parameters)
{
    m_Engine.GetConverterParameters(converter, parameters);
}

void COrvApplication::GetTraductorParameters(int translator, CParameters** parameters, QString& source)
{
    m_Engine.GetTraductorParameters(translator, parameters, source);
}

void COrvApplication::ConvertionAsked(B32 rawData, CGenerationInfo* info)
{
    m_Engine.ConvertionAsked(rawData, info);
}

void COrvApplication::TranslationAsked(CGenerationInfo* info, QString outputName)
{
    m_Engine.TranslationAsked(info, outputName);
}

void COrvApplication::LaunchAsked(CBatchInfoList* list, B32 savePreview, B32& result)
{
    m_Engine.LaunchAsked(list, savePreview, result);
}

void COrvApplication::ProgressForConvertion(const QString text, int progress)
{
    m_Engine.ProgressForConvertion(text, progress);
}

void COrvApplication::ProgressForTranslation(const QString text, int progress)
{
    m_Engine.ProgressForTranslation(text, progress);
}

void COrvApplication::ProgressForBatch(const QString text, int progress)
{
    m_Engine.ProgressForBatch(text, progress);
}

void COrvApplication::LoadMediaAsked(QString& path, int converter, B32& success)
{
    m_Engine.LoadMediaAsked(path, converter, success);
}

void COrvApplication::ClearMediaAsked()
{
    m_Engine.ClearMediaAsked();
}

void COrvApplication::GetLoadedDocument(CDocument** document)
{
    m_Engine.GetLoadedDocument(document);
}

void COrvApplication::GetPreviewDocument(CDocument** document)
{
    m_Engine.GetPreviewDocument(document);
}

void COrvApplication::GetPreviewRawData(CDocument** document)
{
    m_Engine.GetPreviewRawData(document);
}

void COrvApplication::GetResultFileName(QString& name)
{
    m_Engine.GetResultFileName(name);
}

void COrvApplication::GetPreviewFileList(CDocument::DOCTYPE& type, QStringList& names, const QString& base,
                                         int converter)
{
    m_Engine.GetPreviewFileList(type, names, base, converter);
}

void COrvApplication::LoadPreviewAsked(const QStringList& names, CDocument::DOCTYPE type, B32& success)
{
    m_Engine.LoadPreviewAsked(names, type, success);
}

void COrvApplication::SaveAsked(B32 savePreview, QString folder, QString sourceName, B32& saved)
{
    m_Engine.SaveAsked(savePreview, folder, sourceName, saved);
}

void COrvApplication::GetExportExtension(QString& extension)
{
    m_Engine.GetExportExtension(extension);
}

void COrvApplication::GetExportExtensionForConverter(QString& extension, int converter)
{
    m_Engine.GetExportExtensionForConverter(extension, converter);
}

void COrvApplication::GetExportExtensionForTranslator(QString& extension, int translator)
{
    m_Engine.GetExportExtensionForTranslator(extension, translator);
}

void COrvApplication::SaveParamsAsked(QString path, CParameters* parameters)
{
    m_Engine.SaveParamsAsked(path, parameters);
}

void COrvApplication::LoadParamsAsked(int converter, QString path)
{
    m_Engine.LoadParamsAsked(converter, path);
}

void COrvApplication::LoadDefaultParamsAsked(int converter)
{
    m_Engine.LoadDefaultParamsAsked(converter);
}

void COrvApplication::LoadTraductorParamsAsked(int translator, QString path)
{
    m_Engine.LoadTraductorParamsAsked(translator, path);
}

void COrvApplication::LoadDefaultTraductorParamsAsked(int translator)
{
    m_Engine.LoadDefaultTraductorParamsAsked(translator);
}

void COrvApplication::SetResizeOption(B32 on)
{
    m_Engine.SetResizeOption(on);
}

void COrvApplication::CancelConvertion()
{
    m_Engine.CancelConvertion();
}

void COrvApplication::CancelBatch()
{
    m_Engine.CancelBatch();
}
