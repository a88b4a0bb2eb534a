#pragma once
#include "Util/Types.h"
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// The settings of one run as its arguments give them. Options are written after "/" and matched as
// prefixes without regard to case, in table order; any other argument names a source file or pattern.
class CCommandLine
{
public:
    typedef void (CCommandLine::*Handler)(const QString& value);
    struct COption
    {
        const char* text; // lower case; an option that takes a value ends in "="
        Handler handler;
        const char* helpId; // message of the help text under "COrvApplication"
    };

    // Sources are looked up in startDir, which is also the default destination.
    explicit CCommandLine(const QString& startDir = QString());

    // Parses the arguments that follow the program name.
    static CCommandLine Parse(const QStringList& arguments, const QString& startDir);
    // The option row an argument selects, or -1 when it is a source.
    static int MatchOption(const QString& argument);
    // Whether a run with these arguments opens the main window (no source, or /ihm) and so needs a display.
    static bool NeedsWindow(const QStringList& arguments);

    static const COption* Options();
    static int OptionCount();

    void SetProfileOption(const QString& value);
    void SetParameterOption(const QString& value);
    void SetDestinationOption(const QString& value);
    void SetConverterOption(const QString& value);
    void SetLogFileOption(const QString& value);
    void SetPreviewOption(const QString& value);
    void SetHelpOption(const QString& value);
    // The developer test object is chosen by the application; the values are kept in order for it, upper case.
    void SetUserOption(const QString& value);
    void SetGuiOption(const QString& value);
    void SetPathOption(const QString& value);

    QString mProfile; // upper case
    QString mParameter;
    QString mDestination;
    QString mConverter; // upper case
    QString mLogFileName;
    QString mPathsFileName;
    QStringList mUserValues; // upper case
    int mPreview = 0;
    int mGui = 0;
    int mHelp = 0;
    B32 mCommandLineMode = 0;
    QStringList mSources;
    // The source arguments that added nothing: names of no file and patterns that matched none, in order.
    QStringList mUnmatched;
    // Names that a pattern matched but that are not valid in the system's character set, as their bytes:
    // they cannot be spelled as sources.
    QList<QByteArray> mUnreadableNames;
    // Sources taken out of mSources because they failed before the run began (said in the run log then).
    QStringList mFailedSources;
    // The bytes of the arguments after the program name as the system gave them (the texts above were read from
    // them in the system's character set, which may have lost some).
    QList<QByteArray> mArgumentBytes;

    // An argument as a message shows it (ShowName): by its bytes (ShowNameBytes) when they are not valid in the
    // system's character set.
    QString ShownArgument(const QString& argument) const;

    // Whether a source argument is a pattern rather than a file name.
    static bool IsPattern(const QString& argument);

private:
    void AddSource(const QString& argument);

    QString m_StartDir;
};

// The help text: the header with the version, one line per option whose help text is not empty, an empty line.
QString FormatHelp(int versionWord, const std::function<QString(const QString& id)>& message);
