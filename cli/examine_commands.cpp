#include "cli/examine_commands.h"

#include <cstdio>

#include "cli/cli_app.h"
#include "cli/json_text.h"
#include "files/file_error.h"
#include "convert/inspect.h"
#include "text/printable_text.h"
#include "records/layout.h"

namespace tallowbrook::cli {

namespace {

std::string hex16(std::uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(value));
    return text;
}

std::string versionText(const FileInspection& file) {
    return file.version ? std::string(info(*file.version).label) : std::string("not a configuration file");
}

void writeText(const std::string& path, const FileInspection& file, Detail detail, std::ostream& out) {
    out << printableText(path) << ": " << versionText(file) << " (" << file.length << " bytes)\n";
    if (detail == Detail::Version || !file.header) {
        return;
    }
    const HeaderFields& header = *file.header;
    out << "  device name: " << quotedFieldText(header.deviceName) << '\n'
        << "  form name: " << quotedFieldText(header.formName) << '\n'
        << "  dmSpecVersion: " << hex16(header.specVersion) << '\n'
        << "  dmDriverVersion: " << hex16(header.driverVersion) << '\n'
        << "  dmSize: " << header.size << '\n'
        << "  dmDriverExtra: " << header.driverExtra;
    if (!file.driverExtraAgrees()) {
        out << " (disagrees with the length: " << info(*file.version).driverExtra << " expected)";
    }
    out << "\n  entry count: " << *file.entryCount;
    if (file.entryCountExceedsTable()) {
        out << " (more than the " << layout::entryCapacity(info(*file.version).length)
            << " entries the table holds)";
    }
    out << '\n';
    for (const TextSlotText& slot : file.textSlots) {
        out << "  " << slot.name << ": " << quotedFieldText(slot.value) << '\n';
    }
}

std::string jsonField(const FieldText& field) {
    return "{\"text\": " + jsonString(field.text) +
           ", \"terminated\": " + (field.terminated ? "true" : "false") + "}";
}

std::string jsonObject(const std::string& path, const FileInspection& file, Detail detail) {
    std::string json = "{\"path\": " + jsonString(path) + ", \"length\": " + std::to_string(file.length) +
                       ", \"version\": " + (file.version ? jsonString(info(*file.version).label) : "null");
    if (detail == Detail::Record && file.header) {
        const HeaderFields& header = *file.header;
        json += ", \"deviceName\": " + jsonField(header.deviceName) +
                ", \"formName\": " + jsonField(header.formName) +
                ", \"dmSpecVersion\": " + std::to_string(header.specVersion) +
                ", \"dmDriverVersion\": " + std::to_string(header.driverVersion) +
                ", \"dmSize\": " + std::to_string(header.size) +
                ", \"dmDriverExtra\": " + std::to_string(header.driverExtra) +
                ", \"dmDriverExtraAgrees\": " + (file.driverExtraAgrees() ? "true" : "false") +
                ", \"entryCount\": " + std::to_string(*file.entryCount) +
                ", \"entryCountExceedsTable\": " + (file.entryCountExceedsTable() ? "true" : "false") +
                ", \"textSlots\": [";
        for (std::size_t i = 0; i < file.textSlots.size(); ++i) {
            const TextSlotText& slot = file.textSlots[i];
            json += std::string(i == 0 ? "" : ", ") + "{\"name\": " + jsonString(slot.name) +
                    ", \"offset\": " + std::to_string(slot.offset) + ", \"value\": " + jsonField(slot.value) +
                    "}";
        }
        json += "]";
    }
    return json + "}";
}

} // namespace

int examineFiles(const ExamineOptions& options, std::ostream& out, std::ostream& err) {
    int status = options.unreadableFolders > 0 ? kExitSourcesFailed : kExitOk;
    const char* separator = "[\n  ";
    if (options.json && options.files.empty()) {
        out << "[\n";
    }
    for (const std::string& path : options.files) {
        std::string json;
        try {
            const FileInspection file = inspectFile(path);
            if (!options.json) {
                writeText(path, file, options.detail, out);
                continue;
            }
            json = jsonObject(path, file, options.detail);
        } catch (const FileError& error) {
            err << printableText(path) << ": " << printableText(error.what()) << '\n';
            status = kExitSourcesFailed;
            if (!options.json) {
                continue;
            }
            json = "{\"path\": " + jsonString(path) + ", \"error\": " + jsonString(error.what()) + "}";
        }
        out << separator << json;
        separator = ",\n  ";
    }
    if (options.json) {
        out << (options.files.empty() ? "]\n" : "\n]\n");
    }
    return status;
}

} // namespace tallowbrook::cli
