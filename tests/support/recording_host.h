#pragma once

// A DialogHost that plays the dialog for driver tests and the driver fuzzer: a fixed list, a fixed
// chooser index, and a record of everything the run showed.

#include <optional>
#include <string>
#include <vector>

#include "convert/dialog_host.h"

namespace tallowbrook::test {

class RecordingHost : public DialogHost {
public:
    RecordingHost(std::vector<std::string> entries, std::optional<std::size_t> chooser)
        : m_entries(std::move(entries)), m_chooser(chooser) {}

    std::size_t entryCount() const override { return m_entries.size(); }
    std::string entryText(std::size_t index) const override { return m_entries.at(index); }
    std::optional<std::size_t> chooserIndex() const override { return m_chooser; }
    void disableMerge() override {
        mergeEnabled = false;
        ++disableCalls;
    }
    void showMessage(const std::string& text) override { messages.push_back(text); }

    bool mergeEnabled = true;
    int disableCalls = 0;
    std::vector<std::string> messages; // the summary included, in order

private:
    std::vector<std::string> m_entries;
    std::optional<std::size_t> m_chooser;
};

} // namespace tallowbrook::test
