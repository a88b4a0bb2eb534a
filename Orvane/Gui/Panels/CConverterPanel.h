#pragma once
#include "Util/Types.h"
#include <QGroupBox>
#include <QString>
#include <QStringList>

class CMediaSelectorPanel;
class CParameterScrollArea;
class CParameterView;
class CParameters;
class QPushButton;

// The media tab's middle panel: the chosen converter's parameters, with buttons to load its defaults, save
// them to a parameter file and load one. The application owns every parameter set.
class CConverterPanel : public QGroupBox
{
    Q_OBJECT
    Q_MOC_INCLUDE("Parameters/CParameters.h")
public:
    CConverterPanel(QWidget* parent, const QString& name);

    void SetMediaSelectorPanel(CMediaSelectorPanel* panel) { mpMediaSelectorPanel = panel; }
    CParameters* GetParameters() const { return mpParameters; }
    CParameterView* GetParameterView() const { return mpParameterView; }
    QPushButton* GetLoadDefaultButton() const { return mpLoadDefaultButton; }
    QPushButton* GetSaveButton() const { return mpSaveButton; }
    QPushButton* GetLoadButton() const { return mpLoadButton; }
    // The folders where the next Load and Save start; empty until first used.
    static QString& LoadFolder();
    static QString& SaveFolder();

public slots:
    // Shows converter n's parameter set, as the application hands it out.
    void UpdatePanel(int converter);
    void SetConverterParameters(CParameters** parameters);
    void Load();
    void Save();
    void LoadDefault();
    void show();

signals:
    void GetConverterParameters(int converterIndex, CParameters** parameters);
    void ParameterFileTypeChanged(int converter);
    void LoadParamsAsked(int converterIndex, QString fileName);
    void SaveParamsAsked(QString fileName, CParameters* parameters);
    void LoadDefaultParamsAsked(int converterIndex);
    void GetExportExtensionForConverter(QString& extension, int converter);
    void GetConverterNameList(QStringList& converterNameList);

private:
    bool mFirstShow = false;
    CMediaSelectorPanel* mpMediaSelectorPanel = nullptr;
    CParameterView* mpParameterView;
    CParameters* mpParameters = nullptr;
    QPushButton* mpLoadDefaultButton;
    QPushButton* mpSaveButton;
    QPushButton* mpLoadButton;
    QString mLastFile;
    CParameterScrollArea* mpScrollView;

    int CurrentConverter() const;
    QString StartFolder(QString& memory) const;
    // The converter whose name holds the file's description, or -1 when it is no parameter file or names none;
    // reason says why a file that could not be read as XML was not.
    int ConverterOfFile(const QString& path, QString& reason);
    // The application may replace the shown set when it loads or drops one: the view lets go of it first.
    void ForgetParameters();
};
