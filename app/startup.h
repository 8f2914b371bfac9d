#pragma once

class QApplication;

namespace msr::app {

// What the program sets up before its first window: the application title (the caption
// of every message box) and Qt's German texts for the standard dialogs.
void PrepareApplication(QApplication& application);

// Creates the twelve windows Form1 to Form12, in this order, the dialogs owned by Form1,
// and wires what they need of each other: the dialogs' OK marks their buttons on Form1,
// the evaluation reads the answers from the dialogs.
void CreateWindows();

// Destroys the windows, the last created first.
void DestroyWindows();

// The whole program: start-up, the event loop with Form1 as the main window, the end.
// Returns the event loop's exit code, or 1 when start-up failed.
int Run(int argc, char** argv);

} // namespace msr::app
