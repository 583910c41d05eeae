#include <algorithm>

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>
#include <QTextEdit>

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

// Characters of a typical details line ("<folder>\\cfg0000.dat: Version 6.04,
// written as cfg0000_802.dat") and lines shown before the field scrolls.
constexpr int kDetailsColumns = 90;
constexpr int kDetailsRows = 16;

// The details field: a line per entry, unwrapped (longer lines scroll
// sideways), as wide as a typical line and of bounded height, so that the box
// stays on the screen however many entries there are. It takes the focus
// from the keyboard, for selecting and copying.
void fitDetails(QMessageBox& box, const QWidget* owner) {
    auto* details = box.findChild<QTextEdit*>();
    if (details == nullptr) {
        return;
    }
    const QScreen* screen = owner != nullptr ? owner->screen() : box.screen();
    const QRect area = screen->availableGeometry();
    const QFontMetrics metrics(details->font());
    details->setLineWrapMode(QTextEdit::NoWrap);
    details->setFocusPolicy(Qt::StrongFocus);
    details->setMinimumWidth(std::min(metrics.averageCharWidth() * kDetailsColumns, area.width() * 7 / 8));
    details->setFixedHeight(std::min(metrics.lineSpacing() * kDetailsRows, area.height() / 2));
}

void runMessageBox(QWidget* owner, const MessageRequest& request) {
    QMessageBox box(request.icon, request.caption, request.text, QMessageBox::Ok, owner);
    if (!request.details.isEmpty()) {
        box.setDetailedText(request.details);
        fitDetails(box, owner);
    }
    box.exec();
}

} // namespace

UiSeams platformSeams() {
    return {runOpenFileDialog, runMessageBox};
}

} // namespace tallowbrook::app
