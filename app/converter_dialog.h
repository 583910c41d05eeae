#pragma once

// The main dialog on Qt: the file list, the version chooser and the commands
// "Get File" (Add), "Merge", "Reset" and "Done". It draws what the dialog
// model tells it and forwards the user's input; the model decides.

#include <chrono>
#include <memory>

#include <QDialog>

#include "app/interaction_seams.h"
#include "dialog/converter_dialog_model.h"

class QComboBox;
class QListWidget;
class QPushButton;

namespace tallowbrook::app {
class MergeProgress;
}

class CConverterDialog : public QDialog, public tallowbrook::dialog::DialogView {
    Q_DISABLE_COPY_MOVE(CConverterDialog)

public:
    explicit CConverterDialog(tallowbrook::app::UiSeams seams = tallowbrook::app::platformSeams(),
                              QWidget* parent = nullptr);
    ~CConverterDialog() override;

    // Commands bound to the buttons.
    void onGetFile();
    void onMerge();
    void onReset();
    // Opens the About box and returns when it is closed.
    void onAbout();

    // How long a Merge run goes before its progress box appears.
    void setProgressDelay(std::chrono::milliseconds delay) { m_model.setProgressDelay(delay); }

    const tallowbrook::dialog::ConverterDialogModel& model() const { return m_model; }

    // DialogView
    void insertEntries(std::span<const tallowbrook::dialog::ListInsert> inserts) override;
    void clearEntries() override;
    std::optional<std::size_t> chooserSelection() const override;
    void selectChooserEntry(std::size_t index) override;
    void setMergeEnabled(bool enabled) override;
    void showMessage(const tallowbrook::dialog::Message& message) override;
    std::optional<std::vector<std::string>> chooseFiles(const std::string& initialName) override;
    void setBusy(bool busy) override;
    void showProgress(const tallowbrook::dialog::Progress& progress) override;
    void hideProgress() override;
    std::string applicationName() const override;

protected:
    // Hovering an entry of the file list shows what its file is.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Files and folders dropped on the dialog join the list.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createControls();

    tallowbrook::app::UiSeams m_seams;
    // Built in the constructor's initialiser list, over this dialog as its view.
    // cppcheck-suppress uninitMemberVarPrivate
    tallowbrook::dialog::ConverterDialogModel m_model;
    QPushButton* m_mergeButton = nullptr;
    QListWidget* m_fileList = nullptr;
    QComboBox* m_versionChooser = nullptr;
    std::unique_ptr<tallowbrook::app::MergeProgress> m_progress;
};
