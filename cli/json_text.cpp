#include "cli/json_text.h"

#include <cstdint>

#include "text/utf8.h"

namespace tallowbrook::cli {

std::string jsonString(std::string_view text) {
    constexpr char kDigits[] = "0123456789abcdef";
    std::string out = "\"";
    while (!text.empty()) {
        const std::size_t length = utf8SequenceLength(text);
        if (length == 0) {
            out += "\\ufffd";
            text.remove_prefix(1);
            continue;
        }
        const auto lead = static_cast<std::uint8_t>(text[0]);
        if (lead == '"' || lead == '\\') {
            out += '\\';
            out += text[0];
        } else if (lead < 0x20 || lead == 0x7F) {
            out += "\\u00";
            out += kDigits[lead >> 4];
            out += kDigits[lead & 0xF];
        } else {
            out.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    return out + "\"";
}

} // namespace tallowbrook::cli
