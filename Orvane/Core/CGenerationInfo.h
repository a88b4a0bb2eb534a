#pragma once
#include <QString>

class CParameters;

// One conversion or SMS translation request. The panel that builds it deletes it when its signal returns;
// the parameter set is not owned.
class CGenerationInfo
{
public:
    CGenerationInfo(const QString& sourcePath, int converterIndex, CParameters* parameters, const QString& destPath)
        : mSourcePath(sourcePath), mConverterIndex(converterIndex), mpParameters(parameters), mDestPath(destPath)
    {}

    QString GetSourcePath() const { return mSourcePath; }
    QString GetDestPath() const { return mDestPath; }

    QString mSourcePath;
    // A position in GetConverterList (conversion) or GetTraductorList (translation) of the current profile.
    int mConverterIndex;
    CParameters* mpParameters;
    QString mDestPath;
};
