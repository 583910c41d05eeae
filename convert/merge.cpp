#include "convert/merge.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "convert/dispatch.h"
#include "files/file_access.h"
#include "convert/output_path.h"

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

// The driver knows the source path even where the failing call (length, read) did not.
FileError namingSource(const FileError& error, std::string_view path) {
    return {error.cause(), error.osError(), std::string(path), error.leftBehind()};
}

class MergeRun {
public:
    MergeRun(const MergeRequest& request, RunBuffers& buffers)
        : m_request(request), m_buffers(buffers), m_target(request.target) {}

    // Processes one entry: source opened, measured and read, output created,
    // written, flushed and closed, source closed. A failing output ends the entry
    // with OutputFailed; the caller ends the run.
    EntryOutcome processEntry(std::size_t index) {
        EntryOutcome outcome;
        outcome.index = index;
        outcome.source = m_request.entries[index];
        const std::string sourcePath(outcome.source);

        std::optional<SourceFile> source;
        try {
            source.emplace(SourceFile::open(sourcePath));
            outcome.length = source->length();
        } catch (const FileError& error) {
            return failed(std::move(outcome), EntryOutcome::Kind::OpenFailed,
                          namingSource(error, sourcePath));
        }
        const std::uint64_t length = *outcome.length;
        outcome.sourceVersion = versionOfLength(length);
        if (length > m_buffers.source.size()) {
            return passedOver(std::move(outcome), EntryOutcome::Kind::UnknownLength);
        }
        // No larger than the buffer, so the length fits a size_t on every platform.
        const std::span<std::byte> sourceRecord = std::span(m_buffers.source).first(static_cast<std::size_t>(length));
        try {
            readExactly(*source, sourceRecord);
        } catch (const FileError& error) {
            return failed(std::move(outcome), EntryOutcome::Kind::ReadFailed,
                          namingSource(error, sourcePath));
        }

        if (!outcome.sourceVersion) {
            return passedOver(std::move(outcome), EntryOutcome::Kind::UnknownLength);
        }
        if (!m_target) {
            return passedOver(std::move(outcome), EntryOutcome::Kind::NoTarget);
        }
        if (*outcome.sourceVersion == *m_target) {
            return passedOver(std::move(outcome), EntryOutcome::Kind::SameVersion);
        }
        outcome.output = outputPathFor(sourcePath, info(*m_target).suffix);
        const std::span<std::byte> target = std::span(m_buffers.target).first(info(*m_target).length);
        try {
            if (m_request.dryRun) {
                convert(*outcome.sourceVersion, sourceRecord, target);
            } else {
                writeOutput(outcome.output, *outcome.sourceVersion, sourceRecord, target);
            }
        } catch (const FileError& error) {
            return failed(std::move(outcome), EntryOutcome::Kind::OutputFailed, error);
        }
        outcome.sourceRecord = sourceRecord;
        outcome.targetRecord = target;
        ++m_written;
        return outcome;
    }

    int written() const { return m_written; }
    int sourceFailures() const { return m_sourceFailures; }

private:
    void writeOutput(const std::string& outputPath, Version from, std::span<const std::byte> sourceRecord,
                     std::span<std::byte> target) {
        OutputFile output = OutputFile::create(outputPath);
        convert(from, sourceRecord, target);
        output.write(target);
        output.commit();
    }

    void convert(Version from, std::span<const std::byte> sourceRecord, std::span<std::byte> target) const {
        // Bytes a converter leaves alone read 0, and nothing of an earlier file leaks.
        std::fill(target.begin(), target.end(), std::byte{0});
        converterFor(from, *m_target)(sourceRecord, target);
    }

    static EntryOutcome passedOver(EntryOutcome outcome, EntryOutcome::Kind kind) {
        outcome.kind = kind;
        return outcome;
    }

    EntryOutcome failed(EntryOutcome outcome, EntryOutcome::Kind kind, FileError error) {
        if (kind != EntryOutcome::Kind::OutputFailed) {
            ++m_sourceFailures;
        }
        outcome.kind = kind;
        outcome.error = std::move(error);
        return outcome;
    }

    const MergeRequest& m_request;
    RunBuffers& m_buffers;
    std::optional<Version> m_target;
    int m_written = 0;
    int m_sourceFailures = 0;
};

} // namespace

std::string sourceFailureMessage(const EntryOutcome& outcome) {
    if (!outcome.error) {
        return {};
    }
    switch (outcome.kind) {
    case EntryOutcome::Kind::OpenFailed:
        return std::string(kCouldNotOpen) + outcome.error->what();
    case EntryOutcome::Kind::ReadFailed:
        return std::string(kCouldNotRead) + outcome.error->what();
    default:
        return {};
    }
}

std::string summaryText(int written) {
    char text[100];
    std::snprintf(text, sizeof text, "Done! Merged %d configuration files.\n", written);
    return text;
}

MergeOutcome runMerge(const MergeRequest& request, MergeEvents& events) {
    const std::size_t listSize = request.entries.size();
    if (listSize == 0) {
        return {};
    }
    RunBuffers buffers;
    MergeRun run(request, buffers);
    for (std::size_t index = 0; index < listSize; ++index) {
        const EntryOutcome outcome = run.processEntry(index);
        events.entryDone(outcome, listSize);
        if (outcome.kind == EntryOutcome::Kind::OutputFailed) {
            return {MergeOutcome::Kind::OutputFailed, run.written(), run.sourceFailures(), outcome.error};
        }
    }
    events.runCompleted(summaryText(run.written()));
    return {MergeOutcome::Kind::Completed, run.written(), run.sourceFailures(), std::nullopt};
}

} // namespace tallowbrook
