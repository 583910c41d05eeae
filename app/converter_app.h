#pragma once

#include <QApplication>

// The application object. It is given no name of its own, so the
// application's name, which captions the reports of errors that escape a
// command, is the program file's name without extension ("tallowbrook").
class CConverterApp : public QApplication {
public:
    CConverterApp(int& argc, char** argv);

    // Runs the main dialog modally until it is closed by "Done", Enter, Esc or
    // its close box. Returns false: there is no event loop after the dialog,
    // and the program ends.
    bool initInstance();
};
