#pragma once

// A box with one "OK" and details on request (template 104): the text, and
// below "Show Details..." a read-only field with the details, a line each,
// that scrolls both ways. However many lines there are, the box stays inside
// the work area of its monitor, so "OK" is always in reach; OK, Enter and Esc
// close it.

#include "win32/dialog_base.h"
#include "win32/interaction_seams.h"

namespace tallowbrook::win32 {

class DetailsDialog final : public DialogBase {
public:
    // `request` must outlive the box.
    explicit DetailsDialog(const BoxRequest& request);

    bool expanded() const { return m_expanded; }
    // Shows or hides the details, as the details button does.
    void setExpanded(bool expanded);

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    const BoxRequest& m_request;
    bool m_expanded = false;
    bool m_filled = false; // the field holds the details
    int m_collapsedHeight = 0; // the window's, in pixels
};

} // namespace tallowbrook::win32
