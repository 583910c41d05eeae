#pragma once

// The open-file dialog's side of a test: the answers a user gives, in turn,
// and the names the dialog was offered each time it came up.

#include <deque>
#include <optional>
#include <vector>

namespace tallowbrook::test {

template <typename Path> class ScriptedChooser {
public:
    // The files chosen, or none for a cancel.
    using Answer = std::optional<std::vector<Path>>;

    void queue(Answer answer) { m_answers.push_back(std::move(answer)); }
    // The next answer to a dialog offering `name`: cancel once the script has run out.
    Answer next(const Path& name) {
        offered.push_back(name);
        Answer answer;
        if (!m_answers.empty()) {
            answer.swap(m_answers.front());
            m_answers.pop_front();
        }
        return answer;
    }
    // Gives `answer` again next time, as a user asked again would.
    void again(Answer answer) { m_answers.push_front(std::move(answer)); }

    std::vector<Path> offered;

private:
    std::deque<Answer> m_answers;
};

} // namespace tallowbrook::test
