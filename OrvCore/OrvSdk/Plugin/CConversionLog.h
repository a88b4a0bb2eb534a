#pragma once
#include <QObject>
#include <QString>

// A converter's messages: a summary text, which the host copies into its run
// log, and a detailed text for the failure box.
class CConversionLog : public QObject
{
    Q_OBJECT
public:
    // Flags of AddText: which texts to address, and whether to empty them first.
    enum
    {
        SUMMARY = 1,
        DETAILED = 2,
        CLEAR = 4
    };

    explicit CConversionLog(QObject* parent = nullptr);

    // Appends the text as it is (callers end their own lines) to every
    // addressed text; with CLEAR an addressed text is emptied first.
    void AddText(int flags, const QString& text);
    // Writes the summary as Latin-1 text followed by its terminating zero
    // byte, replacing the file whole; a file that cannot be written is left
    // as it was, and that is not reported.
    void SaveToFile(const QString& path) const;

    const QString& GetSummaryText() const { return m_SummaryText; }
    const QString& GetDetailedText() const { return m_DetailedText; }

private:
    QString m_SummaryText;
    QString m_DetailedText;
};
