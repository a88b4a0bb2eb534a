#pragma once
#include <QString>

class QWidget;

// The parameter-file steps the media and SMS tabs' parameter panels share. className names the panel's texts.

// Asks for the file to save a parameter set to, starting in folder and remembering the chosen folder there.
// A name without ".xml" gets it, and an existing file is replaced only when the user says so. Empty when the
// user chose nothing or kept the existing file.
QString ChooseParameterFileToSave(QWidget* parent, QString& folder, const char* className);

// Asks for a parameter file to load, starting in folder and remembering the chosen folder there; empty when
// the user chose nothing.
QString ChooseParameterFileToLoad(QWidget* parent, QString& folder);

// The description a parameter file gives of its content; false when it is no parameter file, and then reason
// says why when the file could not be read as XML at all.
bool ReadParameterFileContent(const QString& path, QString& content, QString& reason);

// Tells the user that the XML file is no parameter file of a listed converter. (A file that is no XML at all
// goes to the application, which refuses it with its reason as it refuses any parameter file.)
void WarnParameterFileNotRecognised(const QString& path, const char* className);

// Asks whether to switch to the converter the file is for; closing the question answers No.
bool AskToSwitchConverter(const char* className);
