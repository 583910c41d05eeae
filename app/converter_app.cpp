#include "app/converter_app.h"

#include "app/app_icon.h"
#include "app/converter_dialog.h"

CConverterApp::CConverterApp(int& argc, char** argv) : QApplication(argc, argv) {
    // The 3-D look and control hosting of older toolkits have no counterpart
    // here: Qt's style draws the dialogs as the desktop does.
    setWindowIcon(tallowbrook::app::appIcon());
}

bool CConverterApp::initInstance() {
    CConverterDialog dialog;
    dialog.exec(); // its end code does not matter
    return false;
}
