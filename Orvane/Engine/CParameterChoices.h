#pragma once
#include <QHash>
#include <QString>
#include <QVariant>

class CParameters;

// What the user chose in a parameter form, kept apart from what fitting made of the set. Each fitting starts
// from the file again, so no earlier phone's narrowing remains, and a choice stays wherever the phone allows it;
// where it does not, the phone's fit of the choice stands in for it until a phone allows it again.
class CParameterChoices
{
public:
    // Values by parameter name.
    using Values = QHash<QString, QVariant>;

    // The working set these choices belong to; another set starts without choices.
    void Attach(const CParameters* parameters);
    // A value that differs from what the last fitting left (before any fitting: from the file) was set by the
    // user since, and becomes a choice.
    void NoteEdits(const CParameters& parameters);
    const Values& GetChosen() const { return m_Chosen; }
    // After a new source was fitted: forgets each choice whose fitted value the document filter changed, since
    // the new source's own value replaces a choice made for the previous one.
    void DropReplaced(const CParameters& parameters, const Values& fitted);
    // Keeps the values fitting left, and the source they were fitted to (empty: none).
    void Remember(const CParameters& parameters, const QString& source);
    const QString& GetSource() const { return m_Source; }
    void Clear();

    // Sets the values, unchecked, on the parameters that are not constant.
    static void Overlay(CParameters& parameters, const Values& values);
    // The set's values of the parameters named in values.
    static Values AsFitted(const CParameters& parameters, const Values& values);

private:
    const CParameters* m_pParameters = nullptr;
    Values m_Chosen;
    Values m_Fitted;
    bool m_HasFitted = false;
    QString m_Source;
};
