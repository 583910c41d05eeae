#pragma once

// A test-only seam in the file access. Built with TALLOWBROOK_FAULT_INJECTION
// (a library that only tests link), each system call of the file access asks
// takeFault() first, so a test can make the n-th call of one primitive fail
// with a given error, or move fewer bytes than asked, and watch what a real run
// makes of it. The shipped library is built without the define: it neither
// calls nor contains anything declared here.

#include <array>
#include <optional>
#include <string_view>

namespace tallowbrook::fault {

// The system calls of the file access, one per kind of call: the enumerator,
// its name as the platform spells it, and whether the call moves bytes (where
// a short or zero transfer means something). One list per platform; the enum,
// kPrimitives, nameOf() and transfersBytes() are all made from it.
#ifdef _WIN32
#define TALLOWBROOK_SYSTEM_CALLS(CALL)                                                                     \
    CALL(CreateFileW, "CreateFileW", false)                                                                \
    CALL(GetFileType, "GetFileType", false)                                                                \
    CALL(GetFileSizeEx, "GetFileSizeEx", false)                                                            \
    CALL(GetFileAttributesW, "GetFileAttributesW", false)                                                  \
    CALL(ReadFile, "ReadFile", true)                                                                       \
    CALL(WriteFile, "WriteFile", true)                                                                     \
    CALL(FlushFileBuffers, "FlushFileBuffers", false)                                                      \
    CALL(CloseHandle, "CloseHandle", false)                                                                \
    CALL(MoveFileExW, "MoveFileExW", false)                                                                \
    CALL(DeleteFileW, "DeleteFileW", false)                                                                \
    CALL(FindFirstFileExW, "FindFirstFileExW", false)                                                      \
    CALL(FindNextFileW, "FindNextFileW", false)                                                            \
    CALL(FindClose, "FindClose", false)
#else
#define TALLOWBROOK_SYSTEM_CALLS(CALL)                                                                     \
    CALL(Open, "open", false)                                                                              \
    CALL(Stat, "stat", false)                                                                              \
    CALL(Fstat, "fstat", false)                                                                            \
    CALL(Access, "access", false)                                                                          \
    CALL(Flock, "flock", false)                                                                            \
    CALL(Read, "read", true)                                                                               \
    CALL(Write, "write", true)                                                                             \
    CALL(Fchmod, "fchmod", false)                                                                          \
    CALL(Fsync, "fsync", false)                                                                            \
    CALL(Close, "close", false)                                                                            \
    CALL(Rename, "rename", false)                                                                          \
    CALL(Unlink, "unlink", false)                                                                          \
    CALL(Readdir, "readdir", false)
#endif

enum class Primitive {
#define TALLOWBROOK_ENUMERATOR(call, name, transfers) call,
    TALLOWBROOK_SYSTEM_CALLS(TALLOWBROOK_ENUMERATOR)
#undef TALLOWBROOK_ENUMERATOR
};

inline constexpr std::array kPrimitives{
#define TALLOWBROOK_ENUMERATOR(call, name, transfers) Primitive::call,
    TALLOWBROOK_SYSTEM_CALLS(TALLOWBROOK_ENUMERATOR)
#undef TALLOWBROOK_ENUMERATOR
};

std::string_view nameOf(Primitive primitive);

// True for the primitives that move bytes, where a short or zero transfer means something.
bool transfersBytes(Primitive primitive);

struct Fault {
    enum class Kind {
        Error,         // the call fails with `error` (errno, or the Windows error code)
        ShortTransfer, // the call moves half of what was asked (at least one byte)
        ZeroTransfer,  // the call moves nothing and reports no error
    };
    Kind kind = Kind::Error;
    int error = 0;
};

// Makes the `nth` call (counted from 1 since the last reset()) of `primitive` fail.
void arm(Primitive primitive, unsigned nth, Fault fault);
// Makes every call of `primitive` from now on fail.
void armEvery(Primitive primitive, Fault fault);
// Disarms everything and starts counting calls afresh.
void reset();
// Calls of `primitive` since the last reset().
unsigned callsOf(Primitive primitive);
// Faults that took effect since the last reset().
unsigned faultsTaken();

// Asked by the file access before each call of `primitive`: the fault for this
// call, if one is armed. Counts the call.
std::optional<Fault> takeFault(Primitive primitive);

// takeFault() applied to a call that would move `count` bytes: the error the
// call must fail with, or none, with `count` cut as a transfer fault says.
template <typename Count>
std::optional<int> applyFault(Primitive primitive, Count& count) {
    const std::optional<Fault> armed = takeFault(primitive);
    if (!armed) {
        return std::nullopt;
    }
    switch (armed->kind) {
    case Fault::Kind::Error:
        return armed->error;
    case Fault::Kind::ShortTransfer:
        count = count > 1 ? static_cast<Count>(count / 2) : count;
        break;
    case Fault::Kind::ZeroTransfer:
        count = 0;
        break;
    }
    return std::nullopt;
}

} // namespace tallowbrook::fault
