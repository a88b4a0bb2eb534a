// Adjusting the converter's parameters to the phone and to the document.
#include "CTunra.h"

#include "Melody/BuzzerParameterFilter.h"

void CTunra::FilterParametersWithProfile(CParameters* parameters, CProfile* profile, int apply)
{
    BuzzerParameterFilter::FilterWithProfile(parameters, profile, apply);
}

void CTunra::FilterParametersWithDocument(CParameters* parameters, CDocument* document)
{
    BuzzerParameterFilter::FilterWithDocument(parameters, document, "CTunra");
}
