#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

// A scratch application folder for one test: language file, plug-ins, parameter files and profiles,
// each written or copied by the test that needs it.
class CScratchApp
{
public:
    CScratchApp();

    const QString& Path() const { return m_Path; }
    QString FilePath(const QString& relative) const { return m_Path + QLatin1Char('/') + relative; }

    // Writes the file, making its folders.
    void Write(const QString& relative, const QByteArray& content) const;
    void MakeFolder(const QString& relative) const;

    // The language file with the short test texts of TestMessage.
    void WriteLanguageFile() const;
    // Copies a test plug-in module (by target name) into "Plugins", under another file name when given.
    void AddPlugin(const QString& module, const QString& fileName = QString()) const;
    // A valid parameter file with one integer parameter.
    void WriteParameterFile(const QString& relative) const;
    // A profile with every key the library requires, the given name and extra DATA elements.
    void WriteProfile(const QString& fileName, const QString& mobileName, const QByteArray& extraData = QByteArray(),
                      const QString& folder = QStringLiteral("Profiles")) const;

    // Importer, exporter and translator with their parameter files, one profile and the language file:
    // a folder the program starts from.
    void MakeComplete() const;

    // The test text of a message of the application under the language file of WriteLanguageFile.
    static QString TestMessage(const QString& id);
    // A fatal start-up report as shown: the message, then the advice to reinstall.
    static QString FatalReport(const char* id);

private:
    QTemporaryDir m_Dir;
    QString m_Path;
};

// What a run of a built program gave; exitCode is -1 when it crashed or did not end in time.
struct CProgramRun
{
    int exitCode = -1;
    bool finished = false;
    QByteArray out;
    QByteArray err;
};

// Runs the program from the folder with ORVANEDIR set to orvanedir and QT_QPA_PLATFORM to platform, each left
// unset when empty, and kills it after 30 seconds.
CProgramRun RunProgram(const QString& program, const QStringList& arguments, const QString& folder,
                       const QString& orvanedir, const QString& platform = QString());

// A file's bytes, or "<missing>" when it cannot be read.
QByteArray ReadAll(const QString& path);

// The parameter file format's smallest valid file.
QByteArray ValidParameterFile();

// The argument count and vector of an application object built in process: the program name, then the
// arguments. Both stay valid while this object lives and Set is not called again.
class CProgramArguments
{
public:
    void Set(const QStringList& arguments);
    int& Count() { return m_Count; }
    char** Vector() { return m_Vector.data(); }

private:
    std::vector<QByteArray> m_Arguments;
    std::vector<char*> m_Vector;
    int m_Count = 0;
};

// Keeps the process's current folder and ORVANEDIR as they were at construction and puts both back on
// destruction, since the program under test moves the one and sets the other.
class CProcessStateKeeper
{
public:
    CProcessStateKeeper();
    ~CProcessStateKeeper();
    CProcessStateKeeper(const CProcessStateKeeper&) = delete;
    CProcessStateKeeper& operator=(const CProcessStateKeeper&) = delete;

private:
    QString m_Folder;
    QByteArray m_Dir;
    bool m_HadDir;
};
