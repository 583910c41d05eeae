#include "app/converter_dialog.h"

#include <algorithm>
#include <exception>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/about_dialog.h"
#include "app/app_icon.h"
#include "app/control_ids.h"
#include "app/dialog_units.h"
#include "app/merge_progress.h"
#include "convert/merge.h"
#include "records/version_table.h"

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX // keep std::max usable
#endif
#include <windows.h>
#endif

using namespace tallowbrook::app;

// Painting a minimised dialog's icon and the icon shown while dragging it
// (OnPaint, OnQueryDragIcon), like the 3-D look and control hosting switched on
// at start, are the window system's business here: the window icon set below
// covers them, and nothing is drawn by hand.

namespace {

constexpr char kMessageCaption[] = "Tallowbrook";

// The platform's order of texts: letter case does not count, so "d:\a" comes
// before "E:\b\x.dat".
bool sortsBefore(const QString& left, const QString& right) {
    return QString::compare(left, right, Qt::CaseInsensitive) < 0;
}

QPushButton* makeButton(QWidget* parent, const QString& text, const char* name, int id, QRect geometry) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setProperty(kControlIdProperty, id);
    button->setGeometry(geometry);
    return button;
}

QLabel* makeLabel(QWidget* parent, const QString& text, QRect geometry) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A font wider than the templates' own may need more room than the
    // template gave; the text is never cut short.
    geometry.setWidth(std::max(geometry.width(), label->sizeHint().width()));
    label->setGeometry(geometry);
    return label;
}

// Restores the normal cursor however the run ends.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

CConverterDialog::CConverterDialog(UiSeams seams, QWidget* parent)
    // Caption and system menu with a close box, no minimise or maximise box.
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_seams(std::move(seams)) {
    setObjectName(QStringLiteral("converterDialog"));
    setWindowTitle(QStringLiteral("Tallowbrook 5.0 Beta"));
    // The same icon serves as the large (title bar, task switcher) and small one.
    setWindowIcon(appIcon());
    createControls();

#ifndef Q_OS_WIN
    // Without a system menu to extend, the About entry sits in the dialog's
    // context menu, and F1 opens it too.
    auto* about = new QAction(QString::fromLatin1(kAboutEntryText), this);
    about->setObjectName(QStringLiteral("aboutAction"));
    about->setShortcut(QKeySequence(Qt::Key_F1));
    connect(about, &QAction::triggered, this, &CConverterDialog::onAbout);
    addAction(about);
    setContextMenuPolicy(Qt::ActionsContextMenu);
#endif
}

CConverterDialog::~CConverterDialog() = default;

void CConverterDialog::createControls() {
    const DialogUnits units = DialogUnits::forFont(font());

    // Created in the template's tab order, which Qt takes as the focus chain.
    auto* done = makeButton(this, QStringLiteral("Done"), "doneButton", kIdDone, units.toPixels(220, 72, 50, 14));
    done->setDefault(true);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);

    makeLabel(this, QStringLiteral("Configuration File: "), units.toPixels(12, 7, 59, 8));

    auto* getFile =
        makeButton(this, QStringLiteral("Get File"), "getFileButton", kIdGetFile, units.toPixels(220, 15, 50, 14));
    connect(getFile, &QPushButton::clicked, this, &CConverterDialog::onGetFile);

    m_mergeButton = makeButton(this, QStringLiteral("Merge"), "mergeButton", kIdMerge, units.toPixels(219, 34, 50, 14));
    connect(m_mergeButton, &QPushButton::clicked, this, &CConverterDialog::onMerge);

    makeLabel(this, QStringLiteral("Merge To:"), units.toPixels(14, 86, 34, 8));

    // An editable drop-down: text typed into it is never read and never added
    // as an entry; only the selection index counts.
    m_versionChooser = new QComboBox(this);
    m_versionChooser->setObjectName(QStringLiteral("versionChooser"));
    m_versionChooser->setProperty(kControlIdProperty, kIdVersionChooser);
    m_versionChooser->setEditable(true);
    m_versionChooser->setInsertPolicy(QComboBox::NoInsert);
    m_versionChooser->setCompleter(nullptr);
    for (const tallowbrook::VersionInfo& version : tallowbrook::kVersionTable) {
        m_versionChooser->addItem(QString::fromUtf8(version.label.data(), static_cast<qsizetype>(version.label.size())));
    }
    m_versionChooser->setCurrentIndex(m_versionChooser->count() - 1);
    // The template's height includes the dropped list; the field keeps its own.
    const QRect chooserArea = units.toPixels(51, 85, 93, 47);
    m_versionChooser->setGeometry(chooserArea.x(), chooserArea.y(), chooserArea.width(),
                                  m_versionChooser->sizeHint().height());

    m_fileList = new QListWidget(this);
    m_fileList->setObjectName(QStringLiteral("fileList"));
    m_fileList->setProperty(kControlIdProperty, kIdFileList);
    m_fileList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_fileList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_fileList->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_fileList->setTextElideMode(Qt::ElideNone);
    m_fileList->setGeometry(units.toPixels(13, 17, 196, 61));

    auto* reset = makeButton(this, QStringLiteral("Reset"), "resetButton", kIdReset, units.toPixels(219, 53, 50, 14));
    connect(reset, &QPushButton::clicked, this, &CConverterDialog::onReset);

    setFixedSize(units.toPixelsX(284), units.toPixelsY(121));
    done->setFocus();
}

void CConverterDialog::addEntry(const QString& path) {
    int row = 0;
    const int count = m_fileList->count();
    // After every entry that does not sort behind it: equal texts keep the
    // order in which they were added.
    while (row < count && !sortsBefore(path, m_fileList->item(row)->text())) {
        ++row;
    }
    m_fileList->insertItem(row, path);
}

void CConverterDialog::onGetFile() {
    const int count = m_fileList->count();
    const QString initialName = count > 0 ? m_fileList->item(count - 1)->text() : QStringLiteral("   ");
    const std::optional<QStringList> chosen = m_seams.chooseFiles(this, initialName);
    if (!chosen) {
        return;
    }
    for (const QString& path : *chosen) {
        addEntry(path);
    }
}

void CConverterDialog::onReset() {
    m_fileList->clear();
    m_versionChooser->setCurrentIndex(m_versionChooser->count() - 1);
    m_mergeButton->setEnabled(true);
}

void CConverterDialog::onMerge() {
    const WaitCursor waitCursor;
    MergeProgress progress(this, m_progressDelay);
    m_progress = &progress;
    try {
        std::vector<std::string> entries;
        for (int row = 0; row < m_fileList->count(); ++row) {
            entries.push_back(m_fileList->item(row)->text().toStdString());
        }
        const tallowbrook::MergeOutcome outcome =
            tallowbrook::runMerge(tallowbrook::MergeRequest{entries, chooserIndex()}, *this);
        m_progress = nullptr;
        if (outcome.kind == tallowbrook::MergeOutcome::Kind::OutputFailed && outcome.outputError) {
            reportEscapedError(QString::fromStdString(outcome.outputError->description()));
        }
    } catch (const std::exception& error) {
        // Nothing may escape a command into the event loop; report it as the
        // failed output is reported, and the dialog stays open.
        m_progress = nullptr;
        reportEscapedError(QString::fromLocal8Bit(error.what()));
    }
}

void CConverterDialog::onAbout() {
    CAboutDialog about(this);
    about.exec();
}

void CConverterDialog::reportEscapedError(const QString& description) {
    // The application's name is the program file's name without extension.
    m_seams.showMessage(this, {QCoreApplication::applicationName(), description, QMessageBox::Critical});
}

std::optional<std::size_t> CConverterDialog::chooserIndex() const {
    const int index = m_versionChooser->currentIndex();
    if (index < 0) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(index);
}

void CConverterDialog::disableMerge() {
    m_mergeButton->setEnabled(false);
}

void CConverterDialog::entryDone(const tallowbrook::EntryOutcome& outcome, std::size_t total) {
    if (const std::string message = tallowbrook::sourceFailureMessage(outcome); !message.empty()) {
        m_seams.showMessage(this,
                            {QString::fromLatin1(kMessageCaption), QString::fromStdString(message), QMessageBox::NoIcon});
    }
    if (m_progress != nullptr) {
        m_progress->entryDone(outcome.index + 1, total);
    }
}

void CConverterDialog::runCompleted(const std::string& summary) {
    m_seams.showMessage(this,
                        {QString::fromLatin1(kMessageCaption), QString::fromStdString(summary), QMessageBox::NoIcon});
    disableMerge();
}

#ifdef Q_OS_WIN
// The system menu gains a separator and the About entry once the window exists.
void CConverterDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_systemMenuExtended) {
        return;
    }
    m_systemMenuExtended = true;
    HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE);
    if (menu != nullptr) {
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING, kIdmAboutBox, kAboutEntryText);
    }
}

// OnSysCommand: the About command opens the About box; every other system
// command (move, close, ...) goes on to the default handling.
bool CConverterDialog::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
    if (eventType == "windows_generic_MSG") {
        const MSG* msg = static_cast<const MSG*>(message);
        if (msg->message == WM_SYSCOMMAND && (msg->wParam & 0xFFF0) == kIdmAboutBox) {
            onAbout();
            *result = 0;
            return true;
        }
    }
    return QDialog::nativeEvent(eventType, message, result);
}
#endif
