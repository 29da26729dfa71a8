#pragma once
// CEditorApp: the application object. Its start-up step runs the main dialog modally; when the
// dialog closes, the program ends.

class QApplication;

class CEditorApp {
public:
    // Runs the whole program; returns false so that the process ends afterwards.
    bool InitInstance();
};

// The program speaks Japanese whatever the session's language: Qt's own texts that follow the
// system locale (dates and sizes in the file dialogs) read in Japanese too. Called before the
// application object exists.
void UseJapaneseLocale();

// Identity and look shared by the program and its tests: the settings store's company key
// "Orlane" and application name "Corvane" (the message box caption), Qt's own Japanese
// translations for the stock dialogs and buttons, and the dialog font.
void SetUpApplication(QApplication& application);
