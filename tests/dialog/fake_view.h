#pragma once

// The scenarios' driver over the model, with a view that records what the
// model told it and answers its questions from a script. A click is the
// model's command, whatever the button's state, as the model must guard itself.

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

class FakeDialog : public DialogView, public ScenarioDriver {
public:
    explicit FakeDialog(SortsBefore sortsBefore = sortsBeforeIgnoringCase)
        : model(*this, std::move(sortsBefore)) {
        model.start();
    }

    // The view's side.
    void insertEntries(std::span<const ListInsert> inserts) override {
        ++batches;
        for (const ListInsert& insert : inserts) {
            rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(insert.row), std::string(insert.text));
        }
    }
    void clearEntries() override { rows.clear(); }
    std::optional<std::size_t> chooserSelection() const override { return chooser; }
    void selectChooserEntry(std::size_t index) override { chooser = index; }
    void setMergeEnabled(bool enabled) override { mergeOn = enabled; }
    void showMessage(const Message& message) override {
        calls.push_back("message");
        shown.push_back({message.caption, message.text, message.details, message.icon == Message::Icon::Stop,
                         busyOn, progressUp ? std::optional(progressSeen.back()) : std::nullopt});
    }
    std::optional<std::vector<std::string>> chooseFiles(const std::string& initialName) override {
        return files.next(initialName);
    }
    void setBusy(bool on) override { busyOn = on; }
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

    // The driver's side.
    void click(Control button) override {
        if (button == Control::GetFile) {
            model.getFile();
        } else if (button == Control::Merge) {
            model.merge();
        } else if (button == Control::Reset) {
            model.reset();
        } else {
            FAIL() << "the model has no such command";
        }
    }
    void answerOpenFile(std::optional<Paths> chosen) override { files.queue(std::move(chosen)); }
    Paths offeredNames() override { return files.offered; }
    void drop(const Paths& paths) override { model.addDropped(paths); }
    std::string hoverText(std::size_t row) override { return model.describeEntry(row); }
    Paths listed() override {
        EXPECT_EQ(model.entries(), rows) << "the view shows the model's order";
        return rows;
    }
    Paths chooserLabels() override { return ConverterDialogModel::chooserLabels(); }
    std::optional<std::size_t> chosen() override { return chooser; }
    void choose(std::optional<std::size_t> row) override { chooser = row; }
    bool mergeEnabled() override { return mergeOn; }
    bool busy() override { return busyOn; }
    bool progressShown() override { return progressUp; }
    const std::vector<Box>& boxes() override { return shown; }
    void setProgressDelay(std::chrono::milliseconds delay) override { model.setProgressDelay(delay); }
    std::string programName() override { return "tallowbrook"; }

    // What the view shows.
    std::vector<std::string> rows;
    int batches = 0; // insertEntries() calls
    std::optional<std::size_t> chooser = 0;
    bool mergeOn = false;
    bool busyOn = false;
    bool progressUp = false;
    std::vector<Box> shown; // the boxes
    std::vector<ProgressShown> progressSeen;
    // Boxes and progress in the order they came: "message", "progress", "hide progress".
    std::vector<std::string> calls;
    tallowbrook::test::ScriptedChooser<std::string> files;
    // Called when progress is shown, to stage a failure inside a run.
    std::function<void()> onProgress;
    ConverterDialogModel model;
};

} // namespace tallowbrook::dialog::test
