#pragma once
#include "Core/CCommandLine.h"
#include "Core/CUserPrompt.h"
#include "Host/CPluginManager.h"
#include "Util/Types.h"
#include <QList>
#include <QString>

class CPluginBase;
class CPluginClass;
class CProfile;
class CWaitingPopup;
class QWidget;

// What the engine is given by the program it runs in: the phone profiles and the current one, the plug-ins
// and the converter lists they make, the options of this run, the run log, and the ways to tell and ask the
// user. The application object implements it; the engine never sees the application itself.
class CEngineHost
{
public:
    virtual ~CEngineHost() = default;

    // A profile file that start-up refused, and why.
    struct CRefusedProfile
    {
        QString path;
        QString reason;
    };

    virtual CProfile* GetCurrentProfile() const = 0;
    virtual const QList<CProfile*>& GetProfileList() const = 0;
    virtual const QList<CRefusedProfile>& GetRefusedProfiles() const = 0;
    // Outside the profile list no profile is selected.
    virtual void SetCurrentProfile(int index) = 0;

    virtual CPluginManager& GetPluginManager() = 0;
    // The three converter lists of a profile (null: no profile check); positions in them are the indexes
    // that panels and batch entries pass.
    virtual QList<CPluginClass*> GetConverterList(CProfile* profile) const = 0;
    virtual QList<CPluginClass*> GetTraductorList(CProfile* profile) const = 0;
    virtual QList<CPluginClass*> GetEntireList(CProfile* profile) const = 0;

    virtual B32 IsCommandLineMode() const = 0;
    virtual const CCommandLine& GetCommandLine() const = 0;
    // The folder the program was started in.
    virtual QString GetCurrentPath() const = 0;

    // Appends the text to the run log as it stands.
    virtual void Log(const QString& text) = 0;
    // Appends the converter's conversion log summary to the run log.
    virtual void LogConversionLog(CPluginBase* converter) = 0;
    virtual QString GetLogFileName() const = 0;
    // The absolute path of the open run log; empty when there is none. No result may be written over it.
    virtual QString GetLogFilePath() const = 0;
    // Tells the user about a problem (kind 0 warning, 1 critical).
    virtual void Report(int kind, const QString& title, const QString& text) = 0;
    // Every question and modal dialog goes through this prompt.
    virtual CUserPrompt& GetUserPrompt() = 0;
    // A new waiting popup over the parent window (null: none), for the caller to own.
    virtual CWaitingPopup* CreateWaitingPopup(QWidget* parent) = 0;
};
