#include "win32/interaction_seams.h"

#include "win32/message_box.h"

namespace tallowbrook::win32 {

UiSeams platformSeams() {
    return {[](OPENFILENAMEW& request) { return ::GetOpenFileNameW(&request); },
            [] { return ::CommDlgExtendedError(); }, showSystemBox};
}

} // namespace tallowbrook::win32
