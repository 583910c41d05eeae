#pragma once

// The main dialog: the file list, the version chooser and the commands
// "Get File" (Add), "Merge", "Reset" and "Done". It is also the host that the
// Merge driver asks for the list, the chooser and its message boxes.

#include <chrono>

#include <QDialog>

#include "app/interaction_seams.h"
#include "convert/merge.h"

class QComboBox;
class QListWidget;
class QPushButton;

namespace tallowbrook::app {
class MergeProgress;
}

class CConverterDialog : public QDialog, public tallowbrook::MergeEvents {
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
    void setProgressDelay(std::chrono::milliseconds delay) { m_progressDelay = delay; }

    // Adds `path` at its sorted place; equal texts are all kept.
    void addEntry(const QString& path);

    std::optional<std::size_t> chooserIndex() const;
    void disableMerge();

    // MergeEvents
    void entryDone(const tallowbrook::EntryOutcome& outcome, std::size_t total) override;
    void runCompleted(const std::string& summary) override;

protected:
#ifdef Q_OS_WIN
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
    void showEvent(QShowEvent* event) override;
#endif

private:
    void createControls();
    void reportEscapedError(const QString& description);

    tallowbrook::app::UiSeams m_seams;
    QPushButton* m_mergeButton = nullptr;
    QListWidget* m_fileList = nullptr;
    QComboBox* m_versionChooser = nullptr;
    // Present only while a Merge run is going on.
    tallowbrook::app::MergeProgress* m_progress = nullptr;
    std::chrono::milliseconds m_progressDelay{500};
#ifdef Q_OS_WIN
    bool m_systemMenuExtended = false;
#endif
};
