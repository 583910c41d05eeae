#pragma once

// One open system resource (a file descriptor, a Windows handle, a folder
// listing), given back when its owner goes. Moving hands the resource on and
// leaves the source empty. `Kind` names the platform's empty value, none(),
// and the call that gives the resource back, release(), which must not throw
// and whose failure loses nothing: where a failure matters (an output's close)
// the file access takes the resource out with take() and closes it itself.

#include <utility>

namespace tallowbrook {

template <typename Kind> class OwnedHandle {
public:
    using Native = typename Kind::Native;

    OwnedHandle() = default;
    explicit OwnedHandle(Native native) : m_native(native) {}
    OwnedHandle(OwnedHandle&& other) noexcept : m_native(other.take()) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) {
            reset();
            m_native = other.take();
        }
        return *this;
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    ~OwnedHandle() { reset(); }

    Native get() const { return m_native; }
    explicit operator bool() const { return m_native != Kind::none(); }

    // The resource, which the caller now owns; this handle is left empty.
    Native take() noexcept { return std::exchange(m_native, Kind::none()); }

    // Gives the resource back now, if there is one.
    void reset() noexcept {
        if (*this) {
            Kind::release(take());
        }
    }

private:
    Native m_native = Kind::none();
};

// An open file. The platform's half of the file access defines both members.
struct OpenFile {
#ifdef _WIN32
    using Native = void*; // HANDLE
#else
    using Native = int; // file descriptor
#endif
    static Native none() noexcept;
    static void release(Native native) noexcept;
};
using FileHandle = OwnedHandle<OpenFile>;

} // namespace tallowbrook
