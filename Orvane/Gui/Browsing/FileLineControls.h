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

// The combo of converters or translators of a source panel. A name wider than the combo ends in "...", and its
// tool tip then begins with the whole name.
class CConverterSelectorControl : public QComboBox
{
    Q_OBJECT
public:
    CConverterSelectorControl(QWidget* parent, const QString& name);

    // The name as the combo shows it in its room.
    QString GetShownText() const;
    // The tool tip shown: the whole name above the panel's own tip when the name is cut.
    QString GetShownToolTip() const;

signals:
    void ConverterChanged(QString* name);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
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
