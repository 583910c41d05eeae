#pragma once

// Text crosses into the Windows API as UTF-16 and lives in the program as
// UTF-8. These two are the only conversions between them.

#ifdef _WIN32

#include <optional>
#include <string>
#include <string_view>

namespace tallowbrook::winapi {

// UTF-8 to UTF-16; none for text that is not valid UTF-8. An embedded zero
// byte is converted like any other character: callers that hand the result to
// the system, which would cut it short there, refuse such text themselves.
std::optional<std::wstring> toWide(std::string_view utf8);

// UTF-16 to UTF-8. An unpaired surrogate, which only a broken name holds,
// becomes U+FFFD.
std::string toUtf8(std::wstring_view wide);

} // namespace tallowbrook::winapi

#endif
