#pragma once
#include <QDialog>
#include <memory>

class CParameters;
class CUserPrompt;

// The developers' diagnostic dialog: an empty window with slots to try parts of the program by hand.
// It has no parent; whoever creates it deletes it.
class TestDialog : public QDialog
{
    Q_OBJECT
public:
    // File questions and modal windows go through prompt, which must outlive the dialog.
    explicit TestDialog(CUserPrompt& prompt);

    // Asks for a parameter file in the current folder and loads it; null when the question is cancelled or
    // the file does not load.
    std::unique_ptr<CParameters> LoadChosenParameters();

public slots:
    void Test();
    // Loads a parameter file the user chooses, to try it out.
    void TestParameters();
    void Changed();

private:
    CUserPrompt& m_Prompt;
};
