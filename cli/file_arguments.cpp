#include "cli/file_arguments.h"

#include "cli/cli_app.h"
#include "convert/file_error.h"
#include "convert/folder_files.h"
#include "convert/list_order.h"
#include "convert/printable_text.h"

namespace tallowbrook::cli {

FileArguments expandFileArguments(const std::vector<std::string>& arguments, std::ostream& err) {
    FileArguments expanded;
    for (const std::string& argument : arguments) {
        if (!isFolder(argument)) {
            expanded.files.push_back(argument);
            continue;
        }
        try {
            std::vector<std::string> files = dataFilesIn(argument);
            sortInListOrder(files);
            expanded.files.insert(expanded.files.end(), files.begin(), files.end());
        } catch (const FileError& error) {
            err << kProgramName << ": " << printableText(error.description()) << '\n';
            ++expanded.unreadableFolders;
        }
    }
    return expanded;
}

} // namespace tallowbrook::cli
