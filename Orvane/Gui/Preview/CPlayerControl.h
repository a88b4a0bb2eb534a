#pragma once
#include <QWidget>

class QPushButton;

// The preview player's buttons: Previous, Play, Stop and Next, chosen by mask bits.
class CPlayerControl : public QWidget
{
    Q_OBJECT
public:
    enum
    {
        PLAY = 1,
        STOP = 2,
        PREVIOUS = 4,
        NEXT = 8,
        ALL = 15
    };

    CPlayerControl(QWidget* parent, const QString& name);

    // Shows exactly the buttons of the mask.
    void ShowButtons(int mask);
    // Enables or disables the buttons of the mask; the others keep their state.
    void EnableButtons(int mask, bool enable);
    void HideAllButtons();
    // The button of one mask bit.
    QPushButton* Button(int bit) const;

signals:
    void PlayClicked();
    void StopClicked();
    void NextClicked();
    void PreviousClicked();

private:
    QPushButton* mpPrevious;
    QPushButton* mpPlay;
    QPushButton* mpStop;
    QPushButton* mpNext;
};
