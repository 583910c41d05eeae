// The desktop program on Windows.

#include "winapi/windows_prelude.h"

#include "win32/converter_app.h"

namespace {
// The one application object, for the program's lifetime.
CConverterApp theApp;
} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The dialog has ended when this returns; the program ends with it.
    theApp.InitInstance();
    return 0;
}
