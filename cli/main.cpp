// tallowbrook-cli: collects its arguments as UTF-8 and hands them to the front end.

#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_app.h"
#include "cli/standard_output.h"

#ifdef _WIN32
#include "convert/win32_text.h"
#include "convert/windows_prelude.h"

#include <shellapi.h>

namespace {
// main()'s arguments come in the ANSI code page, which cannot hold every file
// name; the wide command line can, so paths reach the program intact.
std::vector<std::string> utf8Arguments() {
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) {
        return args;
    }
    for (int i = 1; i < count; ++i) {
        args.push_back(tallowbrook::win32::toUtf8(wide[i]));
    }
    ::LocalFree(wide);
    return args;
}
} // namespace
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    static_cast<void>(argc);
    static_cast<void>(argv);
    ::SetConsoleOutputCP(CP_UTF8); // messages name files in UTF-8
    const std::vector<std::string> args = utf8Arguments();
#else
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
#endif
    // The summary is what a run tells its caller: when it did not reach standard
    // output (a full disk, a closed pipe) the run must not end as a success.
    tallowbrook::cli::StandardOutput standardOutput(stdout);
    std::ostream out(&standardOutput);
    const int status = tallowbrook::cli::run(args, out, std::cerr);
    out.flush();
    if (const std::optional<int> error = standardOutput.finish()) {
        std::cerr << tallowbrook::cli::kProgramName << ": write error";
        if (*error != 0) {
            std::cerr << ": " << std::strerror(*error);
        }
        std::cerr << '\n';
        return tallowbrook::cli::kExitOutputFailed; // standard output is an output too
    }
    return status;
}
