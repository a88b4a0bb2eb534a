#pragma once
#include "Plugin/CConversionLog.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class CDocument;
class CDocumentAbstract;
class CImageExporter;
class CParameters;
class CProfile;
class CRunFiles;
class CWrittenFiles;

// Base of every converter: importers turn a file's bytes into a document,
// exporters and SMS translators turn a document into output byte chunks.
// Across the plug-in boundary use only virtual calls, never casts: each
// module has its own meta-objects.
class CPluginBase : public QObject
{
    Q_OBJECT
public:
    enum ConverterType
    {
        IMPORTER = 1,
        EXPORTER = 2,
        TRANSLATOR = 3
    };

    // Shows the failure of LoadResources. The default writes a warning; the
    // host installs its own. Nothing modal may run in command-line mode or
    // in tests. Each module holds its own hook, as it holds its own SDK.
    typedef void (*ResourceFailureReporter)(const QString& title, const QString& text);
    // Returns the previous reporter; null restores the default.
    static ResourceFailureReporter SetResourceFailureReporter(ResourceFailureReporter reporter);
    // Overrides this module's reporter for one converter. Not virtual, so the
    // host's copy of it writes the member that the plug-in's LoadResources
    // reads: this is how the host reaches a converter loaded from a library.
    void SetInstanceResourceFailureReporter(ResourceFailureReporter reporter) { mpResourceFailureReporter = reporter; }

    CPluginBase();
    ~CPluginBase() override;

    // Loads $ORVANEDIR/Languages/English.xml into this module's language
    // resources; 1 on success, else reports through the hook and returns 0.
    virtual int LoadResources();
    virtual int UnloadResources();
    virtual int IsCompatibleWithProfile(CProfile* profile);
    virtual void FilterParametersWithProfile(CParameters* parameters, CProfile* profile, int apply);
    virtual void FilterParametersWithDocument(CParameters* parameters, CDocument* document);
    virtual void SetParameters(CParameters* parameters);
    // Mask of CDocument::DOCTYPE bits: accepted types, or an importer's product.
    virtual int GetDocumentType() = 0;
    virtual int GetPreviewDocumentType() = 0;
    // ConverterType.
    virtual int GetConverterType() = 0;
    virtual int GetImportExtensionCount() = 0;
    virtual QString GetImportExtension(int index) = 0;
    virtual QString GetExportExtension() = 0;
    virtual QString GetDescription() = 0;
    virtual QString GetParametersFileName() = 0;
    // A new document owned by the caller, or null.
    virtual CDocument* Import(const QByteArray& bytes) = 0;
    // Appends the output to mRawDataList, which must be empty at the start.
    virtual bool Convert(CDocument* document) = 0;
    virtual int IsCancelable();
    virtual int Cancel();
    // The picture and animation exporters return their extra operations
    // here; every other converter returns null.
    virtual CImageExporter* GetImageExporter();
    // The files besides the source itself that this plug-in reads for the source at sourcePath, of which the run
    // reads at most sourceByteLimit bytes: an importer or translator those the source's content names (read with
    // SourceNamedFiles::ReadSource), a converter those it reads beside the document. Paths as the run opens them
    // (SourceNamedFiles::PathIn); the host checks them against its run log before it opens the log. None by
    // default.
    virtual QStringList GetNamedFiles(const QString& sourcePath, qint64 sourceByteLimit);
    // Makes the plug-in's copy of the SDK note the files it writes into the records of place, the program's
    // (Util/SafeFileWrite.h), so that a failed source's guard hears of them too. Virtual so that the plug-in's own
    // copy runs; not for converters to replace.
    virtual void ShareWrittenFiles(CWrittenFiles** place);
    // The most bytes of a source this plug-in reads, as importer or as translator: the host refuses a larger file
    // from its size, on every path, before it reads a byte. By default a translator's (e-cards and messages:
    // FileLimits::MaxMessageSourceBytes) or a media importer's (FileLimits::MaxMediaSourceBytes); a reader of
    // another kind of file states its own.
    virtual qint64 GetSourceByteLimit();

    CParameters* GetParameters() const { return mpCurrentParameters; }
    CProfile* GetProfile() const { return mpProfile; }
    void SetProfile(CProfile* profile) { mpProfile = profile; }
    CConversionLog* GetConversionLog() { return &mConversionLog; }
    // The files of the run the converter works in, which it must neither replace nor read as a file a source
    // names; null outside a run. Set by the host like the profile; not owned.
    const CRunFiles* GetRunFiles() const { return mpRunFiles; }
    void SetRunFiles(const CRunFiles* files) { mpRunFiles = files; }

    // The converter owns its preview document until the host takes it over.
    CDocument* GetPreviewDocument() const { return mpPreviewDocument; }
    CDocument* TakePreviewDocument();

    const QList<QByteArray>& GetRawDataList() const { return mRawDataList; }
    // All output chunks joined into one new document owned by the caller;
    // null when the bytes cannot be allocated.
    CDocumentAbstract* GetRawDataAsDocument() const;
    void ClearRawData();

signals:
    void SetProgress(const QString text, int progress);

protected:
    // Adds the language file's message `id` of `className` to both texts of
    // the conversion log, ended by a line break: how converters report.
    void LogMessage(const QString& className, const QString& id);

    CParameters* mpCurrentParameters = nullptr; // not owned
    CProfile* mpProfile = nullptr;              // not owned
    const CRunFiles* mpRunFiles = nullptr;      // not owned
    CConversionLog mConversionLog;
    CDocument* mpPreviewDocument = nullptr; // owned until taken
    QList<QByteArray> mRawDataList;
    ResourceFailureReporter mpResourceFailureReporter = nullptr; // null: the module's own
};
