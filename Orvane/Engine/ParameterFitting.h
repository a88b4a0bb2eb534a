#pragma once
// A converter's parameter set fitted to the current phone and source, the same way for the parameter form, the
// media and SMS tabs, batch entries and the command line: the set as its file declares it, then the converter's
// profile filter without a profile and with the phone, then, for a set that is no parameter file of the user's,
// the document filter with the source. So the same source gives the same bytes on every path.
#include <QList>
#include <QString>

class CDocument;
class CParameterChoices;
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
// The profile filters on the set as it stands: apply 0, then 1 with the phone. Returns the values the phone
// changed, in name order. Nothing without a set.
QList<CPhoneChange> FilterWithProfile(CPluginBase* converter, CParameters* parameters, CProfile* profile);
// The set as its file declares it, then the profile filters.
QList<CPhoneChange> FitToPhone(CPluginBase* converter, CParameters* parameters, CProfile* profile);
// The document filter; nothing without a set or a document.
void FitToDocument(CPluginBase* converter, CParameters* parameters, CDocument* document);
// The run log's line for a change, with its line feed.
QString LogLine(const CPhoneChange& change);

// The record's working set: the user's parameter file when one was loaded, else the default set.
CParameters* WorkingSet(const CPluginClass* record);
// The working set fitted for the form and for the media and SMS tabs: the file with the user's choices in the
// form laid over it, each choice kept wherever the phone allows it, whatever phones came before. The source's own
// values (tempo, style) replace the choices made for another source; a parameter file of the user's is not fitted
// to the source at all. Null when there is no set.
CParameters* PrepareWorkingSet(CPluginClass* record, CParameterChoices& choices, CProfile* profile,
                               CDocument* document);
} // namespace ParameterFitting
