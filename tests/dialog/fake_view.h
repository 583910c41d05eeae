#pragma once

// A DialogView that records what the model told it and answers its questions
// from a script, and the scenarios' driver over the model with that view.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dialog/converter_dialog_model.h"
#include "dialog/dialog_view.h"
#include "tests/dialog/scenario_driver.h"
#include "tests/support/scripted_chooser.h"

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
        boxes.push_back({message.caption, message.text, message.details, message.icon == Message::Icon::Stop,
                         busy, progressUp ? std::optional(progressSeen.back()) : std::nullopt});
    }
    std::optional<std::vector<std::string>> chooseFiles(const std::string& initialName) override {
        return files.next(initialName);
    }
    void setBusy(bool on) override { busy = on; }
    void showProgress(const Progress& progress) override {
        if (onProgress) {
            onProgress();
        }
        calls.push_back("progress");
        progressUp = true;
        progressSeen.push_back({progress.text, progress.done, progress.total});
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
    std::vector<Box> boxes;
    std::vector<ProgressShown> progressSeen;
    // Boxes and progress in the order they came: "message", "progress", "hide progress".
    std::vector<std::string> calls;
    tallowbrook::test::ScriptedChooser<std::string> files;
    // Called when progress is shown, to stage a failure inside a run.
    std::function<void()> onProgress;
};

// The model with a fake view: a click is the model's command, whatever the
// button's state, as the model must guard itself.
class FakeDialog : public ScenarioDriver {
public:
    FakeDialog() { model.start(); }

    void click(Control button) override {
        switch (button) {
        case Control::GetFile:
            model.getFile();
            break;
        case Control::Merge:
            model.merge();
            break;
        case Control::Reset:
            model.reset();
            break;
        default:
            FAIL() << "the model has no such command";
        }
    }
    void answerOpenFile(std::optional<Paths> chosen) override { view.files.queue(std::move(chosen)); }
    Paths offeredNames() override { return view.files.offered; }
    void drop(const Paths& paths) override { model.addDropped(paths); }
    std::string hoverText(std::size_t row) override { return model.describeEntry(row); }
    Paths listed() override {
        EXPECT_EQ(model.entries(), view.rows) << "the view shows the model's order";
        return view.rows;
    }
    Paths chooserLabels() override { return ConverterDialogModel::chooserLabels(); }
    std::optional<std::size_t> chosen() override { return view.chooser; }
    void choose(std::optional<std::size_t> row) override { view.chooser = row; }
    bool mergeEnabled() override { return view.mergeEnabled; }
    bool busy() override { return view.busy; }
    bool progressShown() override { return view.progressUp; }
    const std::vector<Box>& boxes() override { return view.boxes; }
    void setProgressDelay(std::chrono::milliseconds delay) override { model.setProgressDelay(delay); }
    std::string programName() override { return "tallowbrook"; }

    FakeView view;
    ConverterDialogModel model{view};
};

} // namespace tallowbrook::dialog::test
