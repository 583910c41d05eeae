#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

#include "app/interaction_seams.h"

namespace tallowbrook::app {

namespace {

// One file type is offered. The pattern is written as the user sees it; the
// dialog matches it in any letter case, so files saved as ".DAT" or ".dat"
// on other systems are listed too.
constexpr char kDataFileFilter[] = "Trevak Configuration Data Files (*.Dat)";

std::optional<QStringList> runOpenFileDialog(QWidget* owner, const QString& initialName) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles); // several files; each must exist
    dialog.setNameFilter(QString::fromLatin1(kDataFileFilter));
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
    // Some desktops' native dialogs match patterns case-sensitively; Qt's own
    // dialog does not.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
#endif
    dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    QStringList paths;
    for (const QString& path : dialog.selectedFiles()) {
        paths.append(QDir::toNativeSeparators(path));
    }
    return paths;
}

void runMessageBox(QWidget* owner, const MessageRequest& request) {
    QMessageBox box(request.icon, request.caption, request.text, QMessageBox::Ok, owner);
    if (!request.details.isEmpty()) {
        box.setDetailedText(request.details);
    }
    box.exec();
}

} // namespace

UiSeams platformSeams() {
    return {runOpenFileDialog, runMessageBox};
}

} // namespace tallowbrook::app
