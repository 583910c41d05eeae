// Times every cell of the dispatch table on a realistic source record, and a
// plain memcpy of each target length in the same run, so each converter can
// be read as a multiple of the cheapest possible way to fill its target.
//
// Names: "convert/<from>To<to>" and "memcpy/<length>"; run_converters.sh pairs them.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "convert/dispatch.h"
#include "records/byte_order.h"
#include "records/version_table.h"

namespace tallowbrook {
namespace {

constexpr Version kVersions[] = {Version::V604, Version::V700, Version::V705,
                                 Version::V707, Version::V800, Version::V802};

void putText(std::vector<std::byte>& record, std::size_t slot, std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        writeU16Le(record, slot + 2 * i, static_cast<std::uint16_t>(text[i]));
    }
    writeU16Le(record, slot + 2 * text.size(), 0);
}

// A record like the driver writes: varied bytes, a full entry table (17) and
// texts of medium length in both slots.
std::vector<std::byte> realisticSource(Version version) {
    std::vector<std::byte> record(info(version).length);
    std::uint32_t state = 0x2545'F491u + static_cast<std::uint32_t>(indexOf(version));
    for (std::byte& b : record) {
        state = state * 1'664'525u + 1'013'904'223u;
        b = static_cast<std::byte>(state >> 24);
    }
    writeU16Le(record, 70, static_cast<std::uint16_t>(info(version).driverExtra));
    putText(record, 276, u"C:\\Users\\engraver\\Documents\\plates\\nameplate_2mm.svg");
    putText(record, 864, u"Walnut veneer, 40 W, two passes, air assist on");
    writeU32Le(record, 800, 17);
    return record;
}

std::string versionName(Version version) {
    return std::string(info(version).suffix.substr(1));
}

void registerConverter(Version from, Version to) {
    const std::string name = "convert/" + versionName(from) + "To" + versionName(to);
    benchmark::RegisterBenchmark(name.c_str(), [from, to](benchmark::State& state) {
        const Converter converter = converterFor(from, to);
        const std::vector<std::byte> source = realisticSource(from);
        std::vector<std::byte> target(info(to).length, std::byte{0});
        for (auto _ : state) {
            benchmark::DoNotOptimize(converter(source, target));
            benchmark::ClobberMemory();
        }
        state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                                static_cast<std::int64_t>(target.size()));
    });
}

void registerMemcpy(std::size_t length) {
    const std::string name = "memcpy/" + std::to_string(length);
    benchmark::RegisterBenchmark(name.c_str(), [length](benchmark::State& state) {
        const std::vector<std::byte> source(length, std::byte{0x5A});
        std::vector<std::byte> target(length, std::byte{0});
        for (auto _ : state) {
            std::memcpy(target.data(), source.data(), length);
            benchmark::DoNotOptimize(target.data());
            benchmark::ClobberMemory();
        }
        state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                                static_cast<std::int64_t>(length));
    });
}

} // namespace
} // namespace tallowbrook

int main(int argc, char** argv) {
    using namespace tallowbrook;
    for (const Version to : kVersions) {
        registerMemcpy(info(to).length);
    }
    for (const Version from : kVersions) {
        for (const Version to : kVersions) {
            if (from != to) {
                registerConverter(from, to);
            }
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
