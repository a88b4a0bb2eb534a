#pragma once
#include <QString>
#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;

// One row of the batch parameter panel: a converter to check, the parameter file it uses and a button to
// choose that file.
class CSelectorEdit : public QWidget
{
    Q_OBJECT
public:
    // checkWidth other than -1 fixes the check box's width, so that the rows' file names line up.
    CSelectorEdit(QWidget* parent, const QString& name, const QString& caption, int checkWidth);
    ~CSelectorEdit() override;

    QString GetCaption() const;
    QString GetFileName() const;
    void SetFileName(const QString& name);
    QCheckBox* GetCheckBox() const { return mpCheckBox; }
    QLineEdit* GetLineEdit() const { return mpLineEdit; }
    QPushButton* GetOpenButton() const { return mpOpenButton; }

public slots:
    void OpenFileDialog();

signals:
    void GetCurrentPath(QString& path);

private:
    QCheckBox* mpCheckBox;
    QLineEdit* mpLineEdit;
    QPushButton* mpOpenButton;
};
