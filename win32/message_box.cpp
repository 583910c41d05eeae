#include "win32/message_box.h"

#include "win32/details_dialog.h"

namespace tallowbrook::win32 {

void showSystemBox(const BoxRequest& request) {
    if (!request.details.empty()) {
        DetailsDialog box(request);
        if (box.DoModal(request.owner) != -1) {
            return;
        }
    }
    // Without details, or should the template fail: the system's own box,
    // where the text is the message.
    ::MessageBoxW(request.owner, request.text.c_str(), request.caption.c_str(), request.style);
}

} // namespace tallowbrook::win32
