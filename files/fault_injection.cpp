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
    switch (primitive) {
#ifdef _WIN32
    case Primitive::CreateFileW:
        return "CreateFileW";
    case Primitive::GetFileType:
        return "GetFileType";
    case Primitive::GetFileSizeEx:
        return "GetFileSizeEx";
    case Primitive::GetFileAttributesW:
        return "GetFileAttributesW";
    case Primitive::ReadFile:
        return "ReadFile";
    case Primitive::WriteFile:
        return "WriteFile";
    case Primitive::FlushFileBuffers:
        return "FlushFileBuffers";
    case Primitive::CloseHandle:
        return "CloseHandle";
    case Primitive::MoveFileExW:
        return "MoveFileExW";
    case Primitive::DeleteFileW:
        return "DeleteFileW";
    case Primitive::FindFirstFileExW:
        return "FindFirstFileExW";
    case Primitive::FindNextFileW:
        return "FindNextFileW";
    case Primitive::FindClose:
        return "FindClose";
#else
    case Primitive::Open:
        return "open";
    case Primitive::Stat:
        return "stat";
    case Primitive::Fstat:
        return "fstat";
    case Primitive::Access:
        return "access";
    case Primitive::Flock:
        return "flock";
    case Primitive::Read:
        return "read";
    case Primitive::Write:
        return "write";
    case Primitive::Fchmod:
        return "fchmod";
    case Primitive::Fsync:
        return "fsync";
    case Primitive::Close:
        return "close";
    case Primitive::Rename:
        return "rename";
    case Primitive::Unlink:
        return "unlink";
    case Primitive::Readdir:
        return "readdir";
#endif
    }
    return "?";
}

bool transfersBytes(Primitive primitive) {
#ifdef _WIN32
    return primitive == Primitive::ReadFile || primitive == Primitive::WriteFile;
#else
    return primitive == Primitive::Read || primitive == Primitive::Write;
#endif
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
