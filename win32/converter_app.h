#pragma once

// The application: switches on the common controls, runs the main dialog
// modally and ends the program when it ends. There is no other window and no
// message loop besides the dialog's own.

class CConverterApp {
public:
    // Returns false, as the program ends with its dialog.
    bool InitInstance();
};
