// tallowbrook-cli: collects its arguments as UTF-8 and hands them to the front end.

#include <cstdio>
#include <cstring>
#include <ostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_app.h"
#include "cli/standard_output.h"

#ifdef _WIN32
#include "winapi/utf16.h"
#include "winapi/windows_prelude.h"

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
        args.push_back(tallowbrook::winapi::toUtf8(wide[i]));
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
    const std::vector<std::string> args = utf8Arguments();
#else
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
#endif
    // The summary is what a run tells its caller: when it did not reach standard
    // output (a full disk, a closed pipe) the run must not end as a success.
    tallowbrook::cli::StandardOutput standardOutput(stdout);
    std::ostream out(&standardOutput);
    // Standard error the same way, so that a console shows every name in it.
    tallowbrook::cli::StandardOutput standardError(stderr);
    std::ostream err(&standardError);
    err.setf(std::ios::unitbuf);
    const int status = tallowbrook::cli::run(args, out, err);
    out.flush();
    int exitStatus = status;
    if (const std::optional<int> error = standardOutput.finish()) {
        err << tallowbrook::cli::kProgramName << ": write error";
        if (*error != 0) {
            err << ": " << std::strerror(*error);
        }
        err << '\n';
        exitStatus = tallowbrook::cli::kExitOutputFailed; // standard output is an output too
    }
    err.flush();
    return exitStatus;
}
