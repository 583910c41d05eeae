#include "convert/dispatch.h"

#include <array>

#include "convert/converters.h"

namespace tallowbrook {

namespace {

template <typename Fn>
struct Extents;
template <std::size_t S, std::size_t T>
struct Extents<bool (*)(SourceRecord<S>, TargetRecord<T>)> {
    // cppcheck-suppress unusedStructMember ; read through Extents<...> in checked() and cell()
    static constexpr std::size_t kSource = S;
    // cppcheck-suppress unusedStructMember ; read through Extents<...> in checked() and cell()
    static constexpr std::size_t kTarget = T;
};

// Checks the run-time lengths once, then hands fixed-extent spans to the
// converter. An 8.02 record given to an 8x converter passes its first 2888 bytes.
template <auto Fn>
bool checked(std::span<const std::byte> source, std::span<std::byte> target) {
    using E = Extents<decltype(Fn)>;
    if (source.size() < E::kSource || target.size() != E::kTarget) {
        return false;
    }
    return Fn(source.first<E::kSource>(), target.first<E::kTarget>());
}

// A cell's converter must read no more than its source version's record and
// write exactly its target version's record; a wrong cell does not compile.
template <auto Fn, Version S, Version T>
constexpr Converter cell() {
    using E = Extents<decltype(Fn)>;
    static_assert(E::kSource <= info(S).length && E::kTarget == info(T).length);
    return checked<Fn>;
}

using Row = std::array<Converter, kVersionCount>;

// Rows: source version; columns: target version, both in version-table order.
constexpr std::array<Row, kVersionCount> kDispatchTable{{
    {nullptr,
     cell<Convert604To700, Version::V604, Version::V700>(),
     cell<Convert604To705, Version::V604, Version::V705>(),
     cell<Convert604To707, Version::V604, Version::V707>(),
     cell<Convert604To800, Version::V604, Version::V800>(),
     cell<Convert604To802, Version::V604, Version::V802>()},
    {cell<Convert700To604, Version::V700, Version::V604>(),
     nullptr,
     cell<Convert700To705, Version::V700, Version::V705>(),
     cell<Convert700To707, Version::V700, Version::V707>(),
     cell<Convert700To800, Version::V700, Version::V800>(),
     cell<Convert700To802, Version::V700, Version::V802>()},
    {cell<Convert705To604, Version::V705, Version::V604>(),
     cell<Convert705To700, Version::V705, Version::V700>(),
     nullptr,
     cell<Convert705To707, Version::V705, Version::V707>(),
     cell<Convert705To800, Version::V705, Version::V800>(),
     cell<Convert705To802, Version::V705, Version::V802>()},
    {cell<Convert707To604, Version::V707, Version::V604>(),
     cell<Convert707To700, Version::V707, Version::V700>(),
     cell<Convert707To705, Version::V707, Version::V705>(),
     nullptr,
     cell<Convert707To800, Version::V707, Version::V800>(),
     cell<Convert707To802, Version::V707, Version::V802>()},
    {cell<Convert8xTo604, Version::V800, Version::V604>(),
     cell<Convert8xTo700, Version::V800, Version::V700>(),
     cell<Convert8xTo705, Version::V800, Version::V705>(),
     cell<Convert800To707, Version::V800, Version::V707>(),
     nullptr,
     cell<Convert800To802, Version::V800, Version::V802>()},
    {cell<Convert8xTo604, Version::V802, Version::V604>(),
     cell<Convert8xTo700, Version::V802, Version::V700>(),
     cell<Convert8xTo705, Version::V802, Version::V705>(),
     cell<Convert802To707, Version::V802, Version::V707>(),
     cell<Convert802To800, Version::V802, Version::V800>(),
     nullptr},
}};

} // namespace

Converter converterFor(Version source, Version target) {
    return kDispatchTable[indexOf(source)][indexOf(target)];
}

} // namespace tallowbrook
