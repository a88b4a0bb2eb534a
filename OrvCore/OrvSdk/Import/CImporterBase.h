#pragma once
#include "Documents/CDocument.h"
#include "Import/PictureImport.h"
#include "Plugin/CPluginBase.h"
#include "Text/CLanguageResources.h"
#include "Text/ShownName.h"

// Base of the import converters: everything an importer answers the same way.
// An importer makes one kind of document from one file extension; it has no
// output, no display name and no parameter file, and it cannot convert.
// Its messages stand in the language file under its own class name. A
// concrete importer states its class name, extension and document kinds to
// the constructor and writes only Import.
class CImporterBase : public CPluginBase
{
public:
    // The message of every refused import that has no more precise one.
    static constexpr char ImportErrorId[] = "id_import_error";
    // A picture too large to decode, refused for its size (%1 x %2 pixels).
    static constexpr char PictureTooLargeId[] = "id_picture_too_large";

    int GetDocumentType() override { return m_DocumentType; }
    int GetPreviewDocumentType() override { return m_PreviewType; }
    int GetConverterType() override { return IMPORTER; }
    int GetImportExtensionCount() override { return 1; }
    QString GetImportExtension(int) override { return QString::fromLatin1(m_Extension); }
    QString GetExportExtension() override { return QString(); }
    QString GetDescription() override { return QString(); }
    QString GetParametersFileName() override { return QString(); }
    bool Convert(CDocument*) override { return false; }

    const char* GetClassName() const { return m_ClassName; }

protected:
    // The extension (upper case, without the dot) and the kinds of the
    // document made and of its preview.
    CImporterBase(const char* className, const char* extension, int documentType, int previewType)
        : m_ClassName(className), m_Extension(extension), m_DocumentType(documentType), m_PreviewType(previewType)
    {}
    // For an importer that answers the three questions itself.
    explicit CImporterBase(const char* className) : CImporterBase(className, "", 0, 0) {}

    // Checks the host's bytes (non-fatal): importers are never meant to get none.
    static void CheckInput(const QByteArray& bytes);

    // "id_import_error": the summary text gets the message and a line break (it goes
    // to the run log), the detailed text the message alone.
    void ReportImportFailure();

    // A reason the program worded (a file's refusal, the system's error text): it goes into a message as it
    // stands, since any name in it is shown already and a name is shown once.
    struct Reason
    {
        QString text;
    };

    // Another message of this importer, in both texts, ended by a line break.
    void ReportMessage(const QString& id);
    void ReportMessage(const char* id) { ReportMessage(QString::fromLatin1(id)); }
    // The same with the message's %1, %2, ... filled in, in order; names in them are shown (ShowName), reasons
    // stand as they are.
    template <class... Texts>
    void ReportMessage(const char* id, const Texts&... texts)
    {
        ReportText(CLanguageResources::GetMessage(QString::fromLatin1(m_ClassName), QString::fromLatin1(id))
                       .arg(Shown(texts)...));
    }

    // The document, or null with the import failure reported: how most imports end.
    CDocument* DocumentOrFailure(CDocument* document);

    // A picture document of the bytes, whatever picture format they hold, or
    // null with the import failure reported (a picture too large to decode with
    // PictureTooLargeId); `result`, when given, says why.
    CDocument* ImportPicture(const QByteArray& bytes, PictureImport::Result* result = nullptr);

private:
    static QString Shown(const QString& name) { return ShowName(name); }
    static const QString& Shown(const Reason& reason) { return reason.text; }
    // A finished message in both texts, ended by a line break.
    void ReportText(const QString& text);

    const char* m_ClassName;
    const char* m_Extension;
    int m_DocumentType;
    int m_PreviewType;
};
