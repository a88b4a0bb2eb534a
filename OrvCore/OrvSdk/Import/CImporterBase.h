#pragma once
#include "Documents/CDocument.h"
#include "Plugin/CPluginBase.h"

// Base of the import converters: everything an importer answers the same way.
// An importer makes one kind of document from one file extension; it has no
// output, no display name and no parameter file, and it cannot convert.
// Its messages stand in the language file under its own class name.
class CImporterBase : public CPluginBase
{
public:
    // The message of every refused import that has no more precise one.
    static constexpr char ImportErrorId[] = "id_import_error";

    int GetConverterType() override { return IMPORTER; }
    int GetImportExtensionCount() override { return 1; }
    QString GetExportExtension() override { return QString(); }
    QString GetDescription() override { return QString(); }
    QString GetParametersFileName() override { return QString(); }
    bool Convert(CDocument*) override { return false; }

    const char* GetClassName() const { return m_ClassName; }

protected:
    explicit CImporterBase(const char* className) : m_ClassName(className) {}

    // Checks the host's bytes (non-fatal): importers are never meant to get none.
    static void CheckInput(const QByteArray& bytes);

    // "id_import_error": the summary text gets the message and a line break (it goes
    // to the run log), the detailed text the message alone.
    void ReportImportFailure();

    // Another message of this importer, in both texts, ended by a line break.
    void ReportMessage(const QString& id);
    void ReportMessage(const char* id) { ReportMessage(QString::fromLatin1(id)); }

private:
    const char* m_ClassName;
};
