#include "text/printable_text.h"

#include "text/utf8.h"

#include <cstdint>

namespace tallowbrook {

namespace {

// "\xNN" for a byte, "\u00NN" for a C1 control character.
void appendEscape(std::string& out, char kind, std::uint8_t value) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    out += '\\';
    out += kind;
    if (kind == 'u') {
        out += "00";
    }
    out += kDigits[value >> 4];
    out += kDigits[value & 0xF];
}

} // namespace

std::string printableText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const std::size_t length = utf8SequenceLength(text);
        const auto lead = static_cast<std::uint8_t>(text[0]);
        if (length == 0) {
            appendEscape(out, 'x', lead);
            text.remove_prefix(1);
            continue;
        }
        if (length == 1 && (lead < 0x20 || lead == 0x7F)) {
            switch (lead) {
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                appendEscape(out, 'x', lead);
            }
        } else if (length == 2 && lead == 0xC2 && static_cast<std::uint8_t>(text[1]) < 0xA0) {
            // U+0080-U+009F, the C1 controls
            appendEscape(out, 'u', static_cast<std::uint8_t>(text[1]));
        } else {
            out.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    return out;
}

} // namespace tallowbrook
