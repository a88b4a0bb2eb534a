#pragma once
#include "Util/Types.h"
#include <QGroupBox>
#include <QString>
#include <QStringList>

class CParameters;
class CSmsSelectorPanel;

// The SMS tab's middle panel: the chosen translator's parameters, with buttons to load its defaults, save
// them and load a parameter file. The application owns every parameter set.
class CSmsBuilderPanel : public QGroupBox
{
    Q_OBJECT
    Q_MOC_INCLUDE("Parameters/CParameters.h")
public:
    CSmsBuilderPanel(QWidget* parent, const QString& name);

    void SetSmsSelectorPanel(CSmsSelectorPanel* panel) { mpSmsSelectorPanel = panel; }
    CParameters* GetParameters() const { return mpParameters; }

public slots:
    void UpdatePanel(int translator);
    void SetTranslatorParameters(CParameters** parameters);
    void Load();
    void Save();
    void LoadDefault();
    void show();

signals:
    void GetTraductorNameList(QStringList& list);
    void GetTraductorParameters(int translator, CParameters** parameters, QString& source);
    void ParameterFileTypeChanged(int translator);
    void LoadTraductorParamsAsked(int translator, QString fileName);
    void SaveParamsAsked(QString fileName, CParameters* parameters);
    void LoadDefaultTraductorParamsAsked(int translator);
    void GetExportExtensionForTranslator(QString& extension, int translator);

private:
    bool mFirstShow = false;
    CSmsSelectorPanel* mpSmsSelectorPanel = nullptr;
    CParameters* mpParameters = nullptr;
};
