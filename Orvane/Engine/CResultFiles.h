#pragma once
#include "Util/Types.h"
#include <QString>
#include <cstdint>
#include <functional>

class CEngineHost;
class CDocument;
class CProfile;

// The services that every saving path shares: the question before a file is overwritten, the question before
// a result larger than the phone takes is saved, and the naming and writing of preview files. In command-line
// mode the questions are never asked: they answer go on.
class CResultFiles
{
public:
    // Rows of the preview naming table.
    enum
    {
        PICTURE_PREVIEW = 0,
        ANIMATION_PREVIEW = 1,
        WAVE_PREVIEW = 2,
        NO_PREVIEW = 3
    };

    explicit CResultFiles(CEngineHost& host);

    // 1: write (no such file, command-line mode, or the user answered yes); 0: do not write.
    B32 AskOverwrite(const QString& path);
    // 1: save (not larger than the profile's "MaxMediaSize", command-line mode, or the user agreed).
    B32 ConfirmMediaSize(CProfile* profile, const QString& file, uint32_t size);
    // Writes a preview document as preview files named from base and middle; 1 when everything was written or
    // there was nothing to write, 0 after a failure (logged and reported).
    B32 SaveResult(CDocument* preview, const QString& base, const QString& middle);

    // Logs and reports a file that could not be written, with the system's reason.
    void ReportFailedSave(const QString& file, const QString& reason);

    // Asked before each preview file is written; false: the file is not written and SaveResult fails (the guard
    // has said why). A batch run uses it so that no file is written twice in one run.
    void SetNameGuard(std::function<bool(const QString& name)> guard) { m_NameGuard = std::move(guard); }

    // Picture, animation and wave documents have a row; any other type NO_PREVIEW.
    static int GetPreviewKind(int documentType);
    // base + "_preview" + middle [+ "_" + number for animation frames] + ".BMP" or ".WAV".
    static QString MakePreviewFileName(const QString& base, int kind, const QString& middle, int number);

private:
    // Logs the file, writes it through save (a checked write that leaves the file whole or untouched and says
    // why it failed), and on failure logs and reports it.
    bool SavePreviewFile(const QString& name, const std::function<bool(const QString&, QString* reason)>& save);

    CEngineHost& m_Host;
    std::function<bool(const QString&)> m_NameGuard;
};
