#include <algorithm>

#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
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

// Lines shown before the field scrolls, and how many lines are measured for
// its width (a run's lines are much alike).
constexpr int kDetailsRows = 16;
constexpr int kLinesMeasured = 200;

// The details field: a line per entry, unwrapped, as wide as its widest line
// (of the first ones) within the screen, longer lines scrolling sideways, and
// of bounded height, so that the box stays on the screen however many
// entries there are. It takes the focus from the keyboard, for selecting and
// copying.
void fitDetails(QMessageBox& box, const QWidget* owner, const QString& details) {
    auto* field = box.findChild<QTextEdit*>();
    if (field == nullptr) {
        return;
    }
    const QScreen* screen = owner != nullptr ? owner->screen() : box.screen();
    const QRect area = screen->availableGeometry();
    const QFontMetrics metrics(field->font());
    int widest = 0;
    const QStringList lines = details.section('\n', 0, kLinesMeasured - 1).split('\n');
    for (const QString& line : lines) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    // Room for the frame, the margins and the vertical scroll bar.
    const int chrome = 2 * field->frameWidth() + 2 * static_cast<int>(field->document()->documentMargin()) +
                       field->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + metrics.averageCharWidth();
    field->setLineWrapMode(QTextEdit::NoWrap);
    field->setFocusPolicy(Qt::StrongFocus);
    field->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    field->setMinimumWidth(std::min(widest + chrome, area.width() * 7 / 8));
    field->setFixedHeight(std::min(metrics.lineSpacing() * kDetailsRows, area.height() / 2));
}

// Keeps a box inside its screen's work area when it appears or grows: a box
// placed at its small size over its owner would otherwise run off the
// screen's edge when its details open.
class KeepOnScreen final : public QObject {
public:
    explicit KeepOnScreen(QWidget& box) : QObject(&box), m_box(box) { box.installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_box && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) {
            const QRect area = m_box.screen()->availableGeometry();
            const QRect frame = m_box.frameGeometry();
            const int x = std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width()));
            const int y = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height()));
            if (x != frame.left() || y != frame.top()) {
                m_box.move(x, y);
            }
        }
        return false;
    }

private:
    QWidget& m_box;
};

void runMessageBox(QWidget* owner, const MessageRequest& request) {
    QMessageBox box(request.icon, request.caption, request.text, QMessageBox::Ok, owner);
    if (!request.details.isEmpty()) {
        box.setDetailedText(request.details);
        fitDetails(box, owner, request.details);
    }
    new KeepOnScreen(box); // owned by the box
    box.exec();
}

} // namespace

UiSeams platformSeams() {
    return {runOpenFileDialog, runMessageBox};
}

} // namespace tallowbrook::app
