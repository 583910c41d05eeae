#pragma once

// A DialogView that records what the model told it and answers its questions
// from a script, for the model's tests on every platform.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dialog/dialog_view.h"

namespace tallowbrook::dialog::test {

class FakeView : public DialogView {
public:
    void insertEntries(std::span<const ListInsert> inserts) override {
        ++batches;
        for (const ListInsert& insert : inserts) {
            rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(insert.row), std::string(insert.text));
        }
    }
    void clearEntries() override { rows.clear(); }
    std::optional<std::size_t> chooserSelection() const override { return chooser; }
    void selectChooserEntry(std::size_t index) override { chooser = index; }
    void setMergeEnabled(bool enabled) override { mergeEnabled = enabled; }
    void showMessage(const Message& message) override {
        calls.push_back("message");
        messages.push_back(message);
        progressUpAtMessage.push_back(progressUp);
        busyAtMessage.push_back(busy);
    }
    std::optional<std::vector<std::string>> chooseFiles(const std::string& initialName) override {
        offeredNames.push_back(initialName);
        std::optional<std::vector<std::string>> answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    void setBusy(bool on) override { busy = on; }
    void showProgress(const Progress& progress) override {
        if (onProgress) {
            onProgress();
        }
        calls.push_back("progress");
        progressUp = true;
        progressSeen.push_back(progress);
    }
    void hideProgress() override {
        calls.push_back("hide progress");
        progressUp = false;
    }
    std::string applicationName() const override { return "tallowbrook"; }

    // What the view shows.
    std::vector<std::string> rows;
    int batches = 0; // insertEntries() calls
    std::optional<std::size_t> chooser = 0;
    bool mergeEnabled = false;
    bool busy = false;
    bool progressUp = false;
    std::vector<Message> messages;
    std::vector<bool> progressUpAtMessage;
    std::vector<bool> busyAtMessage;
    std::vector<Progress> progressSeen;
    // Boxes and progress in the order they came: "message", "progress", "hide progress".
    std::vector<std::string> calls;
    // The open-file dialog's answers, in turn, and the names it was offered.
    std::vector<std::optional<std::vector<std::string>>> answers;
    std::vector<std::string> offeredNames;
    // Called when progress is shown, to stage a failure inside a run.
    std::function<void()> onProgress;
};

} // namespace tallowbrook::dialog::test
