#pragma once
#include <QComboBox>
#include <QLineEdit>
#include <QPixmap>
#include <QString>
#include <QWidget>

class CFileSelectorControl;
class QLabel;

// The read-only line that shows the chosen file's name.
class CFileIndicatorControl : public QLineEdit
{
    Q_OBJECT
public:
    CFileIndicatorControl(QWidget* parent, const QString& name);

    void SetFileList(CFileSelectorControl* list) { mpFileList = list; }
    CFileSelectorControl* GetFileList() const { return mpFileList; }
    const QString& GetSelectedFileName() const { return mFileName; }

public slots:
    void SetSelectedFileName(QString& name);

private:
    CFileSelectorControl* mpFileList = nullptr;
    QString mFileName;
};

// The batch file's name line.
class CBatchFileControl : public CFileIndicatorControl
{
    Q_OBJECT
public:
    CBatchFileControl(QWidget* parent, const QString& name);
};

// The combo of converters or translators of a source panel.
class CConverterSelectorControl : public QComboBox
{
    Q_OBJECT
public:
    CConverterSelectorControl(QWidget* parent, const QString& name);

signals:
    void ConverterChanged(QString* name);
};

// The maker's logo.
class CBrimselIcon : public QWidget
{
    Q_OBJECT
public:
    CBrimselIcon(QWidget* parent, const QString& name);

    int GetWidth() const { return mLogo.width(); }
    int GetHeight() const { return mLogo.height(); }

private:
    QLabel* mpGrid;
    QPixmap mLogo;
};
