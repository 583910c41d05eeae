#include "app/converter_app.h"

int main(int argc, char** argv) {
    CConverterApp app(argc, argv);
    app.initInstance();
    return 0;
}
