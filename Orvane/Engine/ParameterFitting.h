#pragma once
// A converter's parameter set fitted to the current phone and source, the same way for the parameter form, the
// media and SMS tabs, batch entries and the command line: the set as its file declares it (with the form's
// choices laid over it), then the converter's profile filter without a profile and with the phone, then, for a
// set that is no parameter file of the user's, the document filter with the source. So the same source and the
// same values give the same bytes on every path.
#include "CParameterChoices.h"
#include <QList>
#include <QString>

class CDocument;
class CParameters;
class CPluginBase;
class CPluginClass;
class CProfile;

// A value the phone changed: the parameter, the value asked for, the value used and why.
struct CPhoneChange
{
    QString mName;
    QString mAsked;
    QString mUsed;
    QString mReason;
};

namespace ParameterFitting {
// The set as its file declares it, with the values chosen (by name) laid over it, then the profile filters (apply
// 0, then 1 with the phone): the one fitting of a parameter file on the command line, of a batch entry and of the
// form. Returns the values the phone changed, in name order. Nothing without a set.
QList<CPhoneChange> FitToPhone(CPluginBase* converter, CParameters* parameters, CProfile* profile,
                               const CParameterChoices::Values& chosen = CParameterChoices::Values());
// The document filter; nothing without a set or a document.
void FitToDocument(CPluginBase* converter, CParameters* parameters, CDocument* document);
// The run log's line for a change, with its line feed.
QString LogLine(const CPhoneChange& change);

// The record's working set: the user's parameter file when one was loaded, else the default set.
CParameters* WorkingSet(const CPluginClass* record);
// The working set fitted for the form and for the media and SMS tabs: the file with the user's choices in the
// form laid over it, fitted to the phone. A choice the phone does not allow gives the nearest value it allows
// (a choice it lacks, its default) and comes back on a phone that allows it. The source's own values (tempo,
// style) replace the choices made for another source; a parameter file of the user's is not fitted to the
// source at all. changes (when given) receives the values the phone changed. Null when there is no set.
CParameters* PrepareWorkingSet(CPluginClass* record, CParameterChoices& choices, CProfile* profile, CDocument* document,
                               QList<CPhoneChange>* changes = nullptr);
} // namespace ParameterFitting
