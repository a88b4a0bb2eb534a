#pragma once
#include "Util/Types.h"
#include <QGroupBox>
#include <QString>
#include <QStringList>

class CParameterScrollArea;
class CParameterView;
class CParameters;
class CSmsSelectorPanel;
class QPushButton;

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
    CParameterView* GetParameterView() const { return mpParameterView; }
    QPushButton* GetLoadDefaultButton() const { return mpLoadDefaultButton; }
    QPushButton* GetSaveButton() const { return mpSaveButton; }
    QPushButton* GetLoadButton() const { return mpLoadButton; }
    // The folders where the next Load and Save start; empty until first used.
    static QString& LoadFolder();
    static QString& SaveFolder();
    // The translator whose parameter file this is, or -1 when it is no parameter file of a listed translator;
    // reason says why a file that could not be read as XML was not.
    int TranslatorOfFile(const QString& path, QString& reason);

public slots:
    // Shows translator n's parameter set, adapted to the chosen source file.
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
    int CurrentTranslator() const;
    QString StartFolder(QString& memory) const;
    // The application may replace the shown set when it loads or drops one: the view lets go of it first.
    void ForgetParameters();
    void LoadInto(int translator, const QString& file);

    CParameterScrollArea* mpScrollView;
    bool mShown = false;
    CSmsSelectorPanel* mpSmsSelectorPanel = nullptr;
    CParameterView* mpParameterView = nullptr;
    CParameters* mpParameters = nullptr;
    QPushButton* mpLoadButton;
    QPushButton* mpSaveButton;
    QPushButton* mpLoadDefaultButton;
    QString mLastFile;
};
