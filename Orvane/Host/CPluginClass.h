#pragma once
#include <QList>
#include <QString>

class CParameters;
class CPluginBase;
class CPluginClassInfo;

// The host's record of one converter class: its converter object and parameter sets, owned by the record.
class CPluginClass
{
public:
    // Flag bit 0: the class is unusable (its parameter file or its resources could not be loaded).
    enum
    {
        UNUSABLE = 1
    };

    CPluginClass() = default;
    // Lets the converter release its resources, then deletes it and its parameter sets. Runs before the
    // library that holds the converter's code is freed.
    ~CPluginClass();
    CPluginClass(const CPluginClass&) = delete;
    CPluginClass& operator=(const CPluginClass&) = delete;

    bool IsUsable() const { return mpConverter && !(mFlags & UNUSABLE); }
    int GetFlags() const { return mFlags; }
    CPluginBase* GetConverter() const { return mpConverter; }
    CPluginClassInfo* GetClassInfo() const { return mpClassInfo; }
    // Null when the converter names no parameter file or the file failed to load.
    CParameters* GetDefaultParameters() const { return mpDefaultParameters; }
    // The default set as loaded at start-up, apart from the one the parameter form edits: batch entries without
    // a parameter file of their own run on it. Null when the default set is.
    CParameters* GetStartupParameters() const { return mpStartupParameters; }
    // The set the user loaded from another file; null when none.
    CParameters* GetUserParameters() const { return mpUserParameters; }
    // The file that set was loaded from; empty when none.
    const QString& GetUserParametersFile() const { return mUserParametersFile; }
    // Takes the set, loaded from file, over and deletes the previous one; null drops it.
    void SetUserParameters(CParameters* parameters, const QString& file = QString());

    // Why the parameter file was refused (its kind, a value, a malformed element); empty when it loaded.
    const QString& GetParametersLoadError() const { return mParametersLoadError; }
    // The file the default parameters are read from; empty when the converter has none.
    const QString& GetParametersPath() const { return mParametersPath; }

    int mFlags = 0;
    QString mParametersLoadError;
    QString mParametersPath;
    CPluginBase* mpConverter = nullptr;
    CPluginClassInfo* mpClassInfo = nullptr; // the plug-in's static record, never freed here
    CParameters* mpDefaultParameters = nullptr;
    CParameters* mpStartupParameters = nullptr;
    CParameters* mpUserParameters = nullptr;
    QString mUserParametersFile;
};

// The entry at a position that a panel, a batch entry or the command line sent back; null outside the list.
CPluginClass* PluginClassAt(const QList<CPluginClass*>& list, int index);
// The converter of that entry; null outside the list.
CPluginBase* ConverterAt(const QList<CPluginClass*>& list, int index);
