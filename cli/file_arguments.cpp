#include "cli/file_arguments.h"

#include "cli/cli_app.h"
#include "files/folder_files.h"
#include "text/printable_text.h"

namespace tallowbrook::cli {

FileArguments expandFileArguments(const std::vector<std::string>& arguments, std::ostream& err) {
    ExpandedArguments expanded = expandArguments(arguments);
    for (const ArgumentProblem& problem : expanded.problems) {
        if (problem.error) {
            err << kFolderUnreadable << printableText(problem.error->what()) << '\n';
        } else {
            err << kProgramName << ": no file matches " << printableText(problem.argument) << '\n';
        }
    }
    return {std::move(expanded.files), static_cast<int>(expanded.problems.size())};
}

} // namespace tallowbrook::cli
