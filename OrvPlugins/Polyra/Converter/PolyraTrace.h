#pragma once
// The pipeline's trace: every line carries a mask (1 detailed, 2 stage,
// 4 user). User lines always reach the conversion log, stage lines only
// outside bass-mute mode, detailed lines alone never.
#include <QString>

class CConversionLog;

class PolyraTrace
{
public:
    enum Mask
    {
        Detail = 1,
        Stage = 2,
        User = 4,
        StageLine = Stage | Detail,
        UserLine = User | Stage | Detail
    };

    PolyraTrace(CConversionLog* log, bool bassMute) : mpLog(log), mbBassMute(bassMute) {}

    bool Wants(int mask) const;
    void Line(int mask, const char* format, ...) __attribute__((format(printf, 3, 4)));
    void Text(int mask, const QString& text);
    // A message with both texts addressed, as failures are reported.
    void Message(const QString& text);
    // The converter's text of the language file with its arguments, as a
    // message: what the user is told of a note the sequence changed.
    void Notice(const char* id, const QString& first, const QString& second = QString());

    CConversionLog* GetLog() const { return mpLog; }
    bool IsBassMute() const { return mbBassMute; }

private:
    CConversionLog* mpLog;
    bool mbBassMute;
};
