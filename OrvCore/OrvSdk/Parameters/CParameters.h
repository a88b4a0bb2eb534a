#pragma once
// A set of named, typed parameters read from a parameter file and written back
// to it. The file has three sections under its root: type declarations
// (TSECTION), parameters with values and limits (PSECTION, optional) and the
// interface description (ISECTION). Saving writes the current values into the
// loaded document and leaves everything else of the file as it was.
// Converter parameter files and phone profiles are both parameter sets.
#include "Parameters/CEnumType.h"
#include "Parameters/CInterfaceNode.h"
#include "Parameters/CParameter.h"
#include "Parameters/CParameterVector.h"
#include "Xml/CXmlFile.h"

#include <QList>
#include <QMap>
#include <QStringList>

class CParameters : public CXmlFile
{
public:
    CParameters();
    ~CParameters() override;

    // Clears the set, then reads the file; false on any malformed part, with
    // whatever was read before the failure left in the set, and GetLoadError
    // naming the element that was refused and why.
    bool Load(const QString& path) override;
    // Writes every current value into its DATA element, then the file.
    bool Save(const QString& path, QString* reason = nullptr) override;
    void Clear();

    CParameter* GetParameter(const QString& name) const;
    // Null when absent; null with a check warning when of another type.
    CBoolParameter* GetBoolParameter(const QString& name) const;
    CIntParameter* GetIntParameter(const QString& name) const;
    CFloatParameter* GetFloatParameter(const QString& name) const;
    CStringParameter* GetStringParameter(const QString& name) const;
    CEnumParameter* GetEnumParameter(const QString& name) const;
    // The first vector of that name in file order.
    CParameterVector* GetVector(const QString& name) const;

    // Base type names first, then enum type names; outputs only when not null.
    bool FindType(const QString& name, bool* isEnum, int* index) const;
    // Moves the cursor to the DATA element of that NAME.
    bool GoToDataElement(const QString& name);
    bool IsEmpty() const;
    // Reset() on every parameter, in name order.
    void ResetAll();
    // Back to the file as it was read: every value, limit, constant flag and
    // list of choices, whatever filters and users changed since. Fitting a set
    // to a phone starts here, so that no earlier phone's narrowing remains.
    void RestoreDeclared();

    const QMap<QString, CParameter*>& GetParameterMap() const { return mParameters; }
    const QStringList& GetBaseTypes() const { return mBaseTypes; }
    const QList<CEnumType*>& GetEnumTypes() const { return mEnumTypes; }
    const QList<CParameterVector*>& GetVectors() const { return mVectors; }
    // The top-level ISECTION nodes, in file order.
    const QList<CInterfaceNode*>& GetInterfaceNodes() const { return mInterface; }

protected:
    // Readers of one element at the cursor; null (or false) fails the load,
    // with the reason set through Refuse.
    CParameter* ReadData();
    CInterfaceNode* ReadInput();
    CInterfaceNode* ReadGroup();
    CInterfaceNode* ReadTable();

    // Keeps the first reason a reader gives for refusing the file; always false.
    bool Refuse(const QString& reason);

private:
    template <typename T>
    T* GetTyped(const QString& name, int type) const;
    bool ReadTypes();
    bool ReadParameters();
    bool ReadInterface();
    bool FindDataChild(const QString& name);

    QMap<QString, CParameter*> mParameters; // lookup by name; may skip replaced duplicates
    QStringList mBaseTypes;
    QList<CEnumType*> mEnumTypes;
    QList<CParameterVector*> mVectors;
    QList<CInterfaceNode*> mInterface;
    // Every parameter the set created, duplicates included: the one owner.
    QList<CParameter*> mOwnedParameters;
};
