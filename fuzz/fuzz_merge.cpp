// The Merge driver on arbitrary files in a private temporary folder.
//
// Input: byte 0 holds the chooser (bits 0-2: 0-5 a version, 6 no selection,
// 7 an index outside the table) and, in bit 3, whether a second file is
// listed; bytes 1-2 and 3-4 are the two files' lengths (little-endian, modulo
// kLengthRange so files longer than the driver reads are reached too); the
// rest is a pattern repeated to fill the files. Two files in one run show
// whether anything of the first reaches the second's output.
//
// Set TMPDIR to a memory file system (scripts/fuzz.sh uses /dev/shm) to keep
// the flush to disk of every output cheap.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "convert/dispatch.h"
#include "convert/merge.h"
#include "convert/output_path.h"
#include "fuzz/fuzz_check.h"
#include "records/version_table.h"
#include "tests/support/recording_events.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace tallowbrook;
namespace fs = std::filesystem;

constexpr std::size_t kLengthRange = 4200; // past the driver's 4000-byte source buffer
constexpr std::size_t kHeaderBytes = 5;
constexpr std::uint8_t kChooserBits = 0x07;
constexpr std::uint8_t kSecondFileBit = 0x08;
constexpr std::size_t kNoSelection = 6;

struct SourceCase {
    std::string path;
    std::vector<std::byte> bytes;
    std::optional<std::string> outputPath; // set when an output must appear
    std::vector<std::byte> expectedOutput;
};

// Made on first use, removed at exit.
const fs::path& folder() {
    static const test::TempFolder made;
    return made.path();
}

// memcpy/memcmp below: this harness runs every iteration, and byte-by-byte
// loops here would cost more than the driver under test.
bool sameBytes(const std::vector<std::byte>& a, const std::vector<std::byte>& b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size()) == 0);
}

std::vector<std::byte> filled(std::size_t length, const std::uint8_t* pattern, std::size_t patternLength,
                              std::size_t shift, std::uint8_t mask) {
    std::vector<std::byte> bytes(length);
    if (patternLength == 0 || length == 0) {
        return bytes;
    }
    // One period of the pattern, then doubling copies: a filled run is a whole
    // number of periods, so it continues itself.
    const std::size_t period = std::min(length, patternLength);
    for (std::size_t i = 0; i < period; ++i) {
        bytes[i] = static_cast<std::byte>(pattern[(i + shift) % patternLength] ^ mask);
    }
    for (std::size_t done = period; done < length;) {
        const std::size_t step = std::min(done, length - done);
        std::memcpy(bytes.data() + done, bytes.data(), step);
        done += step;
    }
    return bytes;
}

// What the run must leave for one source: an output only for a known length
// and a chosen version other than the source's, holding the converter's record
// built into a zero-filled buffer.
SourceCase expectationFor(std::string path, std::vector<std::byte> bytes, std::optional<Version> target) {
    SourceCase source{std::move(path), std::move(bytes), std::nullopt, {}};
    const std::optional<Version> from = versionOfLength(source.bytes.size());
    if (!from || !target || *from == *target) {
        return source;
    }
    source.outputPath = outputPathFor(source.path, info(*target).suffix);
    source.expectedOutput.assign(info(*target).length, std::byte{0});
    FUZZ_CHECK(converterFor(*from, *target)(source.bytes, source.expectedOutput));
    return source;
}

std::size_t lengthAt(const std::uint8_t* data) {
    return static_cast<std::size_t>(data[0] | (data[1] << 8)) % kLengthRange;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kHeaderBytes) {
        return 0;
    }
    const std::size_t chooserBits = data[0] & kChooserBits;
    const std::optional<std::size_t> chooser =
        chooserBits == kNoSelection ? std::nullopt : std::optional<std::size_t>(chooserBits);
    const std::optional<Version> target = chooser ? versionAt(*chooser) : std::nullopt;
    const std::uint8_t* pattern = data + kHeaderBytes;
    const std::size_t patternLength = size - kHeaderBytes;

    std::vector<SourceCase> sources;
    sources.push_back(expectationFor((folder() / "laser.dat").string(),
                                     filled(lengthAt(data + 1), pattern, patternLength, 0, 0), target));
    if ((data[0] & kSecondFileBit) != 0) {
        sources.push_back(expectationFor((folder() / "cfg").string(),
                                         filled(lengthAt(data + 3), pattern, patternLength, 1, 0xA5),
                                         target));
    }

    std::vector<std::string> entries;
    std::set<std::string> expectedNames;
    int expectedWritten = 0;
    for (const SourceCase& source : sources) {
        test::writeFile(source.path, source.bytes);
        entries.push_back(source.path);
        expectedNames.insert(source.path);
        if (source.outputPath) {
            expectedNames.insert(*source.outputPath);
            ++expectedWritten;
        }
    }

    test::RecordingEvents events;
    const MergeOutcome outcome = test::runMerge(entries, chooser, events);

    FUZZ_CHECK(outcome.kind == MergeOutcome::Kind::Completed);
    FUZZ_CHECK(outcome.written == expectedWritten);
    FUZZ_CHECK(events.summaries == 1);
    FUZZ_CHECK(events.outcomes.size() == entries.size());
    FUZZ_CHECK(events.messages.size() == 1 && events.messages.back() == summaryText(expectedWritten));

    for (const SourceCase& source : sources) {
        FUZZ_CHECK(sameBytes(test::readFile(source.path), source.bytes));
        FUZZ_CHECK(!source.outputPath ||
                   sameBytes(test::readFile(*source.outputPath), source.expectedOutput));
    }

    // Nothing else in the folder: no stray output, no temporary file.
    std::set<std::string> present;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder())) {
        present.insert(entry.path().string());
    }
    FUZZ_CHECK(present == expectedNames);
    for (const std::string& name : present) {
        fs::remove(name);
    }
    return 0;
}
