#include "convert/merge.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "convert/dispatch.h"
#include "convert/file_access.h"
#include "convert/output_path.h"
#include "records/version_table.h"

namespace tallowbrook {

namespace {

// Room for the longest record with margin; no record version is longer, so a
// longer file is never read.
constexpr std::size_t kSourceBufferLength = 4000;

constexpr std::string_view kCouldNotOpen = "File could not be opened \n";
constexpr std::string_view kCouldNotRead = "File could not be read \n";

// Every buffer of a run, set up once and reused from entry to entry.
struct RunBuffers {
    std::array<std::byte, kSourceBufferLength> source{};
    std::array<std::byte, kLongestRecord> target{};
};

std::string sourceMessage(std::string_view prefix, const FileError& error, const std::string& path) {
    // The driver knows the source path even where the failing call did not.
    return std::string(prefix) + FileError(error.cause(), error.osError(), path).description();
}

class MergeRun {
public:
    explicit MergeRun(DialogHost& host) : m_host(host) {}

    // Converts one entry. Source failures are reported and end the entry;
    // output failures propagate and end the run.
    void processEntry(const std::string& sourcePath) {
        std::optional<SourceFile> source;
        std::uint64_t length = 0;
        try {
            source.emplace(SourceFile::open(sourcePath));
            length = source->length();
        } catch (const FileError& error) {
            m_host.showMessage(sourceMessage(kCouldNotOpen, error, sourcePath));
            return;
        }
        if (length > m_buffers.source.size()) {
            return;
        }
        const std::span<std::byte> sourceRecord = std::span(m_buffers.source).first(length);
        try {
            readExactly(*source, sourceRecord);
        } catch (const FileError& error) {
            m_host.showMessage(sourceMessage(kCouldNotRead, error, sourcePath));
            return;
        }

        const std::optional<Version> from = versionOfLength(length);
        const std::optional<std::size_t> chosen = m_host.chooserIndex();
        const std::optional<Version> to = chosen ? versionAt(*chosen) : std::nullopt;
        if (!from || !to || *from == *to) {
            return;
        }
        const std::string outputPath = outputPathFor(sourcePath, info(*to).suffix);
        OutputFile output = OutputFile::create(outputPath);
        const std::span<std::byte> target = std::span(m_buffers.target).first(info(*to).length);
        // Bytes a converter leaves alone read 0, and nothing of an earlier file leaks.
        std::fill(target.begin(), target.end(), std::byte{0});
        converterFor(*from, *to)(sourceRecord, target);
        output.write(target);
        output.commit();
        ++m_written;
        m_host.outputWritten(outputPath);
    }

    int written() const { return m_written; }

private:
    DialogHost& m_host;
    RunBuffers m_buffers;
    int m_written = 0;
};

} // namespace

std::string summaryText(int written) {
    char text[100];
    std::snprintf(text, sizeof text, "Done! Merged %d configuration files.\n", written);
    return text;
}

MergeOutcome runMerge(DialogHost& host) {
    const std::size_t listSize = host.entryCount();
    if (listSize == 0) {
        return {};
    }
    MergeRun run(host);
    for (std::size_t index = 0; index < listSize; ++index) {
        try {
            run.processEntry(host.entryText(index));
        } catch (const FileError& error) {
            return {MergeOutcome::Kind::OutputFailed, run.written(), error};
        }
        host.entryDone(index + 1, listSize);
    }
    host.showSummary(summaryText(run.written()));
    host.disableMerge();
    return {MergeOutcome::Kind::Completed, run.written(), std::nullopt};
}

} // namespace tallowbrook
