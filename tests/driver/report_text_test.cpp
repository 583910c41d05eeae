// The texts a front end shows for what it was handed and what a run did.

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "convert/outcome_text.h"
#include "text/printable_text.h"

namespace tallowbrook {
namespace {

using Kind = EntryOutcome::Kind;

EntryOutcome outcome(Kind kind, std::optional<std::uint64_t> length, std::optional<Version> version,
                     std::string output = {}, std::optional<FileError> error = std::nullopt) {
    return EntryOutcome{.kind = kind,
                        .source = "/cfg/a.dat",
                        .length = length,
                        .sourceVersion = version,
                        .output = std::move(output),
                        .error = std::move(error)};
}

TEST(PrintableText, EscapesWhatWouldSteerATerminalAndKeepsUtf8) {
    const std::pair<std::string, std::string> cases[] = {
        {"D:\\cfg\\laser.dat", "D:\\cfg\\laser.dat"},
        {"Grüße 設定.dat", "Grüße 設定.dat"},
        {"a\nb\tc\rd", "a\\nb\\tc\\rd"},
        {std::string("\x1B[31mred\x7F", 9), "\\x1B[31mred\\x7F"},
        {std::string("a\0b", 3), "a\\x00b"},
        {"\xC2\x85", "\\u0085"},                      // C1 control
        {"\xC3(", "\\xC3("},                          // cut sequence
        {"\xC0\xAF", "\\xC0\\xAF"},                   // overlong
        {"\xED\xA0\x80", "\\xED\\xA0\\x80"},          // surrogate
        {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"}, // above U+10FFFF
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},     // U+1F600
        {"", ""},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(printableText(in), out) << out;
    }
}

TEST(DescribeOutcome, SaysWhatBecameOfTheEntry) {
    const FileError missing(FileCause::FileNotFound, 2, "/cfg/a.dat");
    const FileError shortRead(FileCause::EndOfFile, 0, "/cfg/a.dat");
    const FileError denied(FileCause::AccessDenied, 13, "/cfg/a_802.dat");
    const std::tuple<EntryOutcome, bool, const char*> cases[] = {
        {outcome(Kind::Converted, 1472, Version::V604, "/cfg/a_802.dat"), false,
         "/cfg/a.dat: Version 6.04, written as /cfg/a_802.dat"},
        {outcome(Kind::Converted, 1472, Version::V604, "/cfg/a_802.dat"), true,
         "/cfg/a.dat: Version 6.04, would be written as /cfg/a_802.dat"},
        {outcome(Kind::SameVersion, 2892, Version::V802), false,
         "/cfg/a.dat: passed over: already Version 8.02"},
        {outcome(Kind::UnknownLength, 1473, std::nullopt), false,
         "/cfg/a.dat: passed over: 1473 bytes is the length of no version"},
        {outcome(Kind::NoTarget, 1852, Version::V705), false,
         "/cfg/a.dat: passed over: no target version is chosen"},
        {outcome(Kind::OpenFailed, std::nullopt, std::nullopt, {}, missing), false,
         "/cfg/a.dat: could not be opened: /cfg/a.dat was not found."},
        {outcome(Kind::ReadFailed, 1472, Version::V604, {}, shortRead), false,
         "/cfg/a.dat: could not be read: An attempt was made to access /cfg/a.dat past its end."},
        {outcome(Kind::OutputFailed, 1472, Version::V604, "/cfg/a_802.dat", denied), false,
         "/cfg/a.dat: its output failed, which ended the run: Access to /cfg/a_802.dat was denied."},
    };
    for (const auto& [entry, dryRun, text] : cases) {
        EXPECT_EQ(describeOutcome(entry, dryRun), text);
    }
}

TEST(DescribeOutcome, ShowsAHostileNameSafely) {
    EntryOutcome o = outcome(Kind::UnknownLength, 0, std::nullopt);
    o.source = "/cfg/\x1B]0;pwned\x07.dat";
    EXPECT_EQ(describeOutcome(o),
              "/cfg/\\x1B]0;pwned\\x07.dat: passed over: 0 bytes is the length of no version");
}

TEST(SourceFailureMessage, IsTheMessageBoxTextForSourceFailuresOnly) {
    EntryOutcome o;
    o.kind = Kind::OpenFailed;
    o.error = FileError(FileCause::SharingViolation, 11, "D:\\a.dat");
    EXPECT_EQ(sourceFailureMessage(o),
              "File could not be opened \nA sharing violation occurred while accessing D:\\a.dat.");
    o.kind = Kind::ReadFailed;
    o.error = FileError(FileCause::HardIo, 5, "D:\\a.dat");
    EXPECT_EQ(sourceFailureMessage(o),
              "File could not be read \nA hardware I/O error was reported while accessing D:\\a.dat.");
    o.kind = Kind::OutputFailed;
    EXPECT_EQ(sourceFailureMessage(o), "");
}

} // namespace
} // namespace tallowbrook
