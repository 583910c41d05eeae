// tallowbrook-cli: parses its arguments and hands them to the front end.

#include <iostream>

#include "cli/cli_app.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return tallowbrook::cli::run(args, std::cout, std::cerr);
}
