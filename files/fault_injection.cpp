// The fault seam's state: built only into the test library. The program has one
// thread, and so do the tests that arm faults.

#include "files/fault_injection.h"

#include <cstddef>

namespace tallowbrook::fault {

namespace {

struct Armed {
    unsigned nth = 0;
    bool every = false;
    std::optional<Fault> fault;
};

struct Seam {
    std::array<unsigned, kPrimitives.size()> calls{};
    std::array<Armed, kPrimitives.size()> armed{};
    unsigned taken = 0;
};

Seam& seam() {
    static Seam state;
    return state;
}

std::size_t indexOf(Primitive primitive) {
    return static_cast<std::size_t>(primitive);
}

} // namespace

std::string_view nameOf(Primitive primitive) {
    static constexpr std::array<std::string_view, kPrimitives.size()> kNames{
#define TALLOWBROOK_NAME(call, name, transfers) name,
        TALLOWBROOK_SYSTEM_CALLS(TALLOWBROOK_NAME)
#undef TALLOWBROOK_NAME
    };
    return kNames[indexOf(primitive)];
}

bool transfersBytes(Primitive primitive) {
    static constexpr std::array<bool, kPrimitives.size()> kTransfers{
#define TALLOWBROOK_TRANSFERS(call, name, transfers) transfers,
        TALLOWBROOK_SYSTEM_CALLS(TALLOWBROOK_TRANSFERS)
#undef TALLOWBROOK_TRANSFERS
    };
    return kTransfers[indexOf(primitive)];
}

void arm(Primitive primitive, unsigned nth, Fault fault) {
    seam().armed[indexOf(primitive)] = {nth, false, fault};
}

void armEvery(Primitive primitive, Fault fault) {
    seam().armed[indexOf(primitive)] = {0, true, fault};
}

void reset() {
    seam() = Seam{};
}

unsigned callsOf(Primitive primitive) {
    return seam().calls[indexOf(primitive)];
}

unsigned faultsTaken() {
    return seam().taken;
}

std::optional<Fault> takeFault(Primitive primitive) {
    Seam& state = seam();
    const unsigned call = ++state.calls[indexOf(primitive)];
    const Armed& armed = state.armed[indexOf(primitive)];
    if (!armed.fault || (!armed.every && armed.nth != call)) {
        return std::nullopt;
    }
    ++state.taken;
    return armed.fault;
}

} // namespace tallowbrook::fault
