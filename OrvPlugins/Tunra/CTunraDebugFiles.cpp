// Debug files: the exact bytes of the last conversion, written to a "Debug"
// folder beside the source file when "GenerateDebugFiles" is set. One that
// cannot be written fails the conversion.
#include "CTunra.h"

#include "Parameters/ParameterRead.h"

QString CTunra::PrepareDebugFolder(CDocument* document)
{
    m_bDebug = ParameterRead::Bool(mpCurrentParameters, "GenerateDebugFiles", false);
    return m_DebugFolder.Prepare(document, m_bDebug, GetRunFiles(), &mConversionLog);
}

bool CTunra::WriteDebugFile(const QString& name, const QByteArray& bytes)
{
    return m_DebugFolder.Write(name, bytes);
}
