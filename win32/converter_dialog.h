#pragma once

// The main dialog on Windows, from template 102: the file list, the version
// chooser and the commands "Get File" (Add), "Merge", "Reset" and "Done". It
// draws what the dialog model tells it and forwards the user's input; the
// model decides.

#include "win32/dialog_base.h"
#include "win32/interaction_seams.h"
#include <shellapi.h>

#include <chrono>
#include <memory>

#include "dialog/converter_dialog_model.h"

namespace tallowbrook::win32 {
class ListHoverText;
class ProgressDialog;

// Where a minimised dialog draws its icon: centred in the client area,
// rounding toward zero.
POINT centredIconOrigin(const RECT& client, SIZE icon);
} // namespace tallowbrook::win32

class CConverterDialog final : public tallowbrook::win32::DialogBase, public tallowbrook::dialog::DialogView {
public:
    explicit CConverterDialog(tallowbrook::win32::UiSeams seams = tallowbrook::win32::platformSeams());
    ~CConverterDialog() override;
    CConverterDialog(const CConverterDialog&) = delete;
    CConverterDialog& operator=(const CConverterDialog&) = delete;

    // How long a Merge run goes before its progress box appears.
    void setProgressDelay(std::chrono::milliseconds delay) { m_model.setProgressDelay(delay); }

    const tallowbrook::dialog::ConverterDialogModel& model() const { return m_model; }
    HICON icon() const { return m_icon; }
    // The tooltip over the file list, once the dialog exists.
    HWND hoverTip() const;

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
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void OnException(const std::exception& error) override;

private:
    bool OnSysCommand(WPARAM command);
    bool OnPaint();
    bool OnCommand(WORD id, WORD code);
    void OnDropFiles(HDROP drop);
    void OnAbout();

    tallowbrook::win32::UiSeams m_seams;
    // Loaded with the object, before the window exists.
    HICON m_icon;
    // Built in the constructor's initialiser list, over this dialog as its view.
    // cppcheck-suppress uninitMemberVarPrivate
    tallowbrook::dialog::ConverterDialogModel m_model;
    std::unique_ptr<tallowbrook::win32::ListHoverText> m_hover;
    std::unique_ptr<tallowbrook::win32::ProgressDialog> m_progress;
    bool m_busy = false;
    HCURSOR m_cursorBeforeBusy = nullptr;
};
