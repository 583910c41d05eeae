// Times one Merge run over N generated files, each conversion's changes
// compared as a front end showing them would, against a minimal loop that makes
// the same system calls per file (open, length, read, create, write, flush,
// rename, folder flush, close) with a plain copy in place of the conversion.
// Prints seconds and the process's peak resident memory; bench/run_merge.sh
// runs it per mode and size and prints the ratios.
//
//   tallowbrook_bench_merge merge|baseline FOLDER COUNT

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "convert/merge.h"
#include "records/field_changes.h"
#include "records/version_table.h"

namespace {

using namespace tallowbrook;


std::string sourcePath(const std::string& folder, std::size_t i) {
    return folder + "/settings" + std::to_string(i) + ".dat";
}

// Sources cycle through the five versions other than the target.
void generate(const std::string& folder, std::size_t count) {
    std::vector<unsigned char> bytes(kLongestRecord);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t length = kVersionTable[i % 5].length;
        for (std::size_t b = 0; b < length; ++b) {
            bytes[b] = static_cast<unsigned char>((b * 31 + i) & 0xFF);
        }
        FILE* file = std::fopen(sourcePath(folder, i).c_str(), "wb");
        if (file == nullptr || std::fwrite(bytes.data(), 1, length, file) != length || std::fclose(file) != 0) {
            std::perror("generate");
            std::exit(1);
        }
    }
}

// Counts what each conversion changes, as a front end that shows it would
// compare the records.
class ChangeCount final : public FieldChangeSink {
public:
    void fieldChanged(const FieldChange& change) override { m_total += change.isDefault ? 1 : 2; }
    std::size_t total() const { return m_total; }

private:
    std::size_t m_total = 0;
};

// Source failures go to standard error; the summary is not wanted; the
// changes of every written file are compared.
class BenchEvents final : public MergeEvents {
public:
    void entryDone(const EntryOutcome& outcome, std::size_t /*total*/) override {
        std::fputs(sourceFailureMessage(outcome).c_str(), stderr);
        compareRecords(outcome.sourceRecord, outcome.targetRecord, changes);
    }
    void runCompleted(const std::string& /*summary*/) override {}
    ChangeCount changes;
};

void check(bool ok, const char* what) {
    if (!ok) {
        std::perror(what);
        std::exit(1);
    }
}

void baseline(const std::string& folder, std::size_t count) {
    std::vector<unsigned char> source(4000);
    std::vector<unsigned char> target(kLongestRecord);
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    check(dir >= 0, "open folder");
    for (std::size_t i = 0; i < count; ++i) {
        const std::string path = sourcePath(folder, i);
        const int in = ::open(path.c_str(), O_RDONLY);
        check(in >= 0, "open");
        struct stat status {};
        check(::fstat(in, &status) == 0, "fstat");
        const auto length = static_cast<std::size_t>(status.st_size);
        check(::read(in, source.data(), length) == static_cast<ssize_t>(length), "read");
        std::memcpy(target.data(), source.data(), std::min(length, target.size()));
        const std::string temporary = folder + "/.tmp";
        const int out = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        check(out >= 0, "create");
        check(::write(out, target.data(), target.size()) == static_cast<ssize_t>(target.size()), "write");
        check(::fsync(out) == 0, "fsync");
        check(::close(out) == 0, "close");
        const std::string output = path.substr(0, path.size() - 4) + "_802.dat";
        check(::rename(temporary.c_str(), output.c_str()) == 0, "rename");
        ::fsync(dir);
        ::close(in);
    }
    ::close(dir);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s merge|baseline|generate FOLDER COUNT\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    const std::string folder = argv[2];
    const auto count = static_cast<std::size_t>(std::strtoul(argv[3], nullptr, 10));
    if (mode == "generate") {
        generate(folder, count);
        return 0;
    }
    const auto start = std::chrono::steady_clock::now();
    if (mode == "merge") {
        std::vector<std::string> entries;
        entries.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            entries.push_back(sourcePath(folder, i));
        }
        BenchEvents events;
        const MergeOutcome outcome = runMerge(MergeRequest{entries, Version::V802}, events);
        if (outcome.kind != MergeOutcome::Kind::Completed || outcome.written != static_cast<int>(count)) {
            std::fprintf(stderr, "merge wrote %d of %zu\n", outcome.written, count);
            return 1;
        }
        if (events.changes.total() == 0) {
            std::fprintf(stderr, "merge reported no changes\n");
            return 1;
        }
    } else {
        baseline(folder, count);
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("%s %zu %.3f %ld\n", mode.c_str(), count, seconds.count(), usage.ru_maxrss);
    return 0;
}
