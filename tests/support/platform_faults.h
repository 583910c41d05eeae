#pragma once

// What the fault tests make fail, in this platform's names: the calls of the
// file access they single out, and the errors they fail them with.

#include "files/fault_injection.h"

#ifdef _WIN32
#include "winapi/windows_prelude.h"
#else
#include <cerrno>
#endif

namespace tallowbrook::test {

// A call that fails with `code` (errno, or the Windows error code).
constexpr fault::Fault failingWith(int code) {
    return {fault::Fault::Kind::Error, code};
}

#ifdef _WIN32
inline constexpr fault::Primitive kWrite = fault::Primitive::WriteFile;
inline constexpr fault::Primitive kFlush = fault::Primitive::FlushFileBuffers;
inline constexpr fault::Primitive kClose = fault::Primitive::CloseHandle;
inline constexpr fault::Primitive kRemove = fault::Primitive::DeleteFileW;
inline constexpr fault::Primitive kLookAtPath = fault::Primitive::GetFileAttributesW;
inline constexpr fault::Primitive kCloseListing = fault::Primitive::FindClose;
inline constexpr fault::Fault kIoFault = failingWith(ERROR_IO_DEVICE);
inline constexpr fault::Fault kRemovalFault = failingWith(ERROR_ACCESS_DENIED);
#else
inline constexpr fault::Primitive kWrite = fault::Primitive::Write;
inline constexpr fault::Primitive kFlush = fault::Primitive::Fsync;
inline constexpr fault::Primitive kClose = fault::Primitive::Close;
inline constexpr fault::Primitive kRemove = fault::Primitive::Unlink;
inline constexpr fault::Primitive kLookAtPath = fault::Primitive::Stat;
inline constexpr fault::Primitive kCloseListing = fault::Primitive::Close;
inline constexpr fault::Fault kIoFault = failingWith(EIO);
inline constexpr fault::Fault kRemovalFault = failingWith(EACCES);
#endif

} // namespace tallowbrook::test
