#include "tests/windows/fake_system.h"

#include <algorithm>

namespace tallowbrook::win32::test {

namespace {

std::wstring filterText(const wchar_t* filter) {
    std::wstring joined;
    for (const wchar_t* text = filter; text != nullptr && *text != L'\0'; text += std::wcslen(text) + 1) {
        joined += joined.empty() ? L"" : L"|";
        joined += text;
    }
    return joined;
}

// The result as the system lays it out, and where the first name starts.
std::pair<std::wstring, std::size_t> systemResult(const Selection& chosen) {
    const std::size_t nameAt = chosen.front().find_last_of(L'\\') + 1;
    if (chosen.size() == 1) {
        return {chosen.front() + L'\0', nameAt};
    }
    std::wstring result = chosen.front().substr(0, nameAt - 1) + L'\0';
    const std::size_t firstName = result.size();
    for (const std::wstring& path : chosen) {
        result += path.substr(nameAt) + L'\0';
    }
    return {result + L'\0', firstName};
}

} // namespace

UiSeams FakeSystem::seams() {
    return {[this](OPENFILENAMEW& request) { return answer(request); }, [this] { return m_error; },
            [this](const BoxRequest& box) {
                if (onBox) {
                    onBox(box);
                }
                boxes.push_back(box);
            }};
}

BOOL FakeSystem::answer(OPENFILENAMEW& request) {
    requests.push_back({request.hwndOwner, request.Flags, filterText(request.lpstrFilter), request.lpstrFile,
                        request.nMaxFile});
    m_error = 0;
    const std::optional<Selection> chosen = chooser.next(request.lpstrFile);
    if (!chosen) {
        return FALSE;
    }
    const auto [result, nameAt] = systemResult(*chosen);
    if (result.size() > request.nMaxFile) {
        // Too small: the room needed in the first two bytes, and the same answer next time.
        request.lpstrFile[0] = static_cast<wchar_t>(std::min<std::size_t>(result.size(), 0xFFFF));
        m_error = FNERR_BUFFERTOOSMALL;
        chooser.again(chosen);
        return FALSE;
    }
    std::copy(result.begin(), result.end(), request.lpstrFile);
    request.nFileOffset = static_cast<WORD>(nameAt);
    return TRUE;
}

} // namespace tallowbrook::win32::test
