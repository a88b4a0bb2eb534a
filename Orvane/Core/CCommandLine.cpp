#include "CCommandLine.h"
#include "Text/ShownName.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace {

const CCommandLine::COption kOptions[] = {
    {"profile=", &CCommandLine::SetProfileOption, "id_help_profile"},
    {"parameter=", &CCommandLine::SetParameterOption, "id_help_parameter"},
    {"destination=", &CCommandLine::SetDestinationOption, "id_help_destination"},
    {"converter=", &CCommandLine::SetConverterOption, "id_help_converter"},
    {"logfile=", &CCommandLine::SetLogFileOption, "id_help_logfile"},
    {"preview", &CCommandLine::SetPreviewOption, "id_help_preview"},
    {"help", &CCommandLine::SetHelpOption, "id_help_help"},
    {"user=", &CCommandLine::SetUserOption, "id_help_none"},
    {"ihm", &CCommandLine::SetGuiOption, "id_help_none"},
    {"path=", &CCommandLine::SetPathOption, "id_help_none"},
};

QString OptionKey(int row)
{
    return QLatin1Char('/') + QString::fromLatin1(kOptions[row].text).toUpper();
}

// The regular files of folder whose names the system's character set cannot spell and that match pattern as
// the folder's listing would (letters in either case). The listing leaves such names out, so they are looked for
// in the folder's own entries.
QList<QByteArray> UnreadableMatches(const QString& folder, const QString& pattern)
{
    QList<QByteArray> names;
    const QByteArray path = QFile::encodeName(folder);
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(path.constData()), ::closedir);
    if (!dir)
        return names;
    const QRegularExpression match(QRegularExpression::wildcardToRegularExpression(pattern),
                                   QRegularExpression::CaseInsensitiveOption);
    while (const dirent* entry = ::readdir(dir.get())) {
        const QByteArray name(entry->d_name);
        const QString decoded = QFile::decodeName(name);
        if (QFile::encodeName(decoded) == name && !decoded.contains(QChar::ReplacementCharacter))
            continue;
        struct stat info;
        const QByteArray full = path + '/' + name;
        if (::stat(full.constData(), &info) == 0 && S_ISREG(info.st_mode) && match.match(decoded).hasMatch())
            names.append(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

CCommandLine::CCommandLine(const QString& startDir) : mDestination(startDir), m_StartDir(startDir) {}

const CCommandLine::COption* CCommandLine::Options()
{
    return kOptions;
}

int CCommandLine::OptionCount()
{
    return int(sizeof(kOptions) / sizeof(kOptions[0]));
}

int CCommandLine::MatchOption(const QString& argument)
{
    const QString upper = argument.toUpper();
    for (int row = 0; row < OptionCount(); ++row) {
        if (upper.startsWith(OptionKey(row)))
            return row;
    }
    return -1;
}

CCommandLine CCommandLine::Parse(const QStringList& arguments, const QString& startDir)
{
    CCommandLine line(startDir);
    for (const QString& argument : arguments) {
        const int row = MatchOption(argument);
        if (row >= 0)
            (line.*kOptions[row].handler)(argument.mid(OptionKey(row).size()));
        else
            line.AddSource(argument);
    }
    if (line.mCommandLineMode == 1 && line.mGui == 1)
        line.mCommandLineMode = 0;
    return line;
}

bool CCommandLine::NeedsWindow(const QStringList& arguments)
{
    bool source = false;
    bool gui = false;
    for (const QString& argument : arguments) {
        const int row = MatchOption(argument);
        if (row < 0)
            source = true;
        else if (kOptions[row].handler == &CCommandLine::SetHelpOption)
            return false;
        else if (kOptions[row].handler == &CCommandLine::SetGuiOption)
            gui = true;
    }
    return !source || gui;
}

void CCommandLine::AddSource(const QString& argument)
{
    mCommandLineMode = 1;
    const QDir dir(m_StartDir);
    if (QFileInfo(dir, argument).isFile()) {
        mSources.append(argument);
        return;
    }
    // A pattern: the matching file names of the start folder, in name order whatever the letter case.
    const QStringList names = dir.entryList(QStringList(argument), QDir::Files, QDir::Name | QDir::IgnoreCase);
    mSources.append(names);
    const QList<QByteArray> unreadable =
        IsPattern(argument) ? UnreadableMatches(m_StartDir, argument) : QList<QByteArray>();
    mUnreadableNames.append(unreadable);
    if (names.isEmpty() && unreadable.isEmpty())
        mUnmatched.append(argument);
}

bool CCommandLine::IsPattern(const QString& argument)
{
    return argument.contains(QLatin1Char('*')) || argument.contains(QLatin1Char('?'))
           || argument.contains(QLatin1Char('['));
}

QString CCommandLine::ShownArgument(const QString& argument) const
{
    if (!argument.contains(QChar::ReplacementCharacter))
        return ShowName(argument);
    for (const QByteArray& bytes : mArgumentBytes)
        if (QString::fromLocal8Bit(bytes) == argument)
            return ShowNameBytes(bytes);
    return ShowName(argument);
}

void CCommandLine::SetProfileOption(const QString& value)
{
    mProfile = value.toUpper();
}

void CCommandLine::SetParameterOption(const QString& value)
{
    mParameter = value;
}

void CCommandLine::SetDestinationOption(const QString& value)
{
    mDestination = value;
}

void CCommandLine::SetConverterOption(const QString& value)
{
    mConverter = value.toUpper();
}

void CCommandLine::SetLogFileOption(const QString& value)
{
    mLogFileName = value;
}

void CCommandLine::SetPreviewOption(const QString&)
{
    mPreview = 1;
}

void CCommandLine::SetHelpOption(const QString&)
{
    mHelp = 1;
}

void CCommandLine::SetUserOption(const QString& value)
{
    mUserValues.append(value.toUpper());
}

void CCommandLine::SetGuiOption(const QString&)
{
    mGui = 1;
}

void CCommandLine::SetPathOption(const QString& value)
{
    mPathsFileName = value;
}

QString FormatHelp(int versionWord, const std::function<QString(const QString& id)>& message)
{
    const uint32_t version = static_cast<uint32_t>(versionWord);
    QString help = message(QStringLiteral("id_help_header"))
                       .arg(QString::number(version >> 16), QString::number(version & 0xFFFF));
    help += QLatin1Char('\n');
    for (int row = 0; row < CCommandLine::OptionCount(); ++row) {
        const CCommandLine::COption& option = CCommandLine::Options()[row];
        const QString text = message(QString::fromLatin1(option.helpId));
        if (text.isEmpty())
            continue;
        help += QLatin1Char('/') + QString::fromLatin1(option.text) + text + QLatin1Char('\n');
    }
    help += QLatin1Char('\n');
    // How to name a source that looks like an option comes last, where it is seen.
    const QString footer = message(QStringLiteral("id_help_footer"));
    if (!footer.isEmpty())
        help += footer + QLatin1Char('\n');
    return help;
}
