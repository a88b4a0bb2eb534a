#pragma once
#include <QDialog>

class QLabel;
class QPushButton;

// The waiting popup of a running conversion: a text line and an optional button. Escape and the button both
// ask for cancellation (at most once until the button is enabled again); the frame cannot close it.
class CProgressDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CProgressDialog(QWidget* parent = nullptr, const QString& name = QString());

    void SetText(const QString& text);
    // A null caption hides the button; any other caption, empty too, shows it.
    void SetButton(const QString& caption, bool enabled);

signals:
    void ButtonClicked();
    void Rejected();

public slots:
    void reject() override;
    void Clicked();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPushButton* m_pButton;
    QLabel* m_pLabel;
};
