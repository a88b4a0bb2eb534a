#pragma once
#include <QWidget>

class QPushButton;

// The three buttons under a parameter view, as the converter panel and the SMS builder show them: a grid of two
// rows, the load-default button in the first cell and the save and load buttons side by side in the second
// ("ButtonHBox"), kept at its natural size.
class CParameterButtonGrid : public QWidget
{
public:
    // The captions are className's "id_load_default_caption", "id_save_caption" and "id_load_caption"; the tool
    // tips are the ids given.
    CParameterButtonGrid(QWidget* parent, const char* className, const char* loadDefaultTip, const char* saveTip,
                         const char* loadTip);

    QPushButton* GetLoadDefaultButton() const { return mpLoadDefaultButton; }
    QPushButton* GetSaveButton() const { return mpSaveButton; }
    QPushButton* GetLoadButton() const { return mpLoadButton; }

private:
    QPushButton* mpLoadDefaultButton;
    QPushButton* mpSaveButton;
    QPushButton* mpLoadButton;
};
