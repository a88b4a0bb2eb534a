#pragma once
// The texts of a language file, read once into a table: every lookup is then
// one hash probe instead of a walk over the document. The table answers
// exactly as a walk would: the first class element of a name is the only one
// read, in it only the first element of each section tag, and in that the
// first item of a tag and id that has a value.
#include <QByteArray>
#include <QHash>
#include <QString>

class LanguageIndex
{
public:
    // False (and an empty table) for a document that is not well-formed or
    // nests past all reason.
    bool Read(const QByteArray& bytes);
    void Clear();
    bool IsEmpty() const { return !m_Loaded; }

    // Null when absent; an empty value is found as an empty, non-null text.
    QString Find(const QString& className, const QString& section, const QString& itemTag, const QString& id) const;

private:
    class Collector;

    static QString Key(const QString& className, const QString& section, const QString& itemTag, const QString& id);

    QHash<QString, QString> m_Texts;
    bool m_Loaded = false;
};
