#include "app/converter_dialog.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QToolTip>
#include <QUrl>

#include "app/about_dialog.h"
#include "app/app_icon.h"
#include "app/control_ids.h"
#include "app/dialog_units.h"
#include "app/merge_progress.h"
#include "app/window_flags.h"
#include "dialog/dialog_layout.h"

using namespace tallowbrook::app;
namespace dialog = tallowbrook::dialog;
namespace layout = tallowbrook::dialog::layout;

// Painting a minimised dialog's icon and the icon shown while dragging it,
// like the 3-D look and control hosting, are the window system's business
// here: the window icon set below covers them, and nothing is drawn by hand.

namespace {

// Qt's order of texts: letter case does not count, so "d:\a" comes before
// "E:\b\x.dat".
bool qtSortsBefore(std::string_view left, std::string_view right) {
    const auto text = [](std::string_view utf8) {
        return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    };
    return QString::compare(text(left), text(right), Qt::CaseInsensitive) < 0;
}

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

std::vector<std::string> utf8Paths(const QStringList& paths) {
    std::vector<std::string> utf8(static_cast<std::size_t>(paths.size()));
    std::transform(paths.begin(), paths.end(), utf8.begin(),
                   [](const QString& path) { return path.toStdString(); });
    return utf8;
}

QPushButton* makeButton(QWidget* parent, const char* text, const char* name, int id, QRect geometry) {
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setProperty(kControlIdProperty, id);
    button->setGeometry(geometry);
    return button;
}

QLabel* makeLabel(QWidget* parent, const char* text, QRect geometry) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A font wider than the templates' own may need more room than the
    // template gave; the text is never cut short.
    geometry.setWidth(std::max(geometry.width(), label->sizeHint().width()));
    label->setGeometry(geometry);
    return label;
}

// The local files of a drag, in native form; none when it carries anything else.
QStringList localFiles(const QMimeData* data) {
    QStringList files;
    if (data == nullptr || !data->hasUrls()) {
        return files;
    }
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) {
            return {};
        }
        files.append(QDir::toNativeSeparators(url.toLocalFile()));
    }
    return files;
}

} // namespace

CConverterDialog::CConverterDialog(UiSeams seams, QWidget* parent)
    : QDialog(parent, kDialogWindowFlags), m_seams(std::move(seams)), m_model(*this, qtSortsBefore) {
    setObjectName(QStringLiteral("converterDialog"));
    setWindowTitle(QStringLiteral(TB_TEXT_CONVERTER_CAPTION));
    // The same icon serves as the large (title bar, task switcher) and small one.
    setWindowIcon(appIcon());
    setAcceptDrops(true);
    createControls();
    m_model.start();

    // Without a system menu to extend, the About entry sits in the dialog's
    // context menu, and F1 opens it too.
    auto* about = new QAction(QStringLiteral(TB_TEXT_ABOUT_ENTRY), this);
    about->setObjectName(QStringLiteral("aboutAction"));
    about->setShortcut(QKeySequence(Qt::Key_F1));
    connect(about, &QAction::triggered, this, &CConverterDialog::onAbout);
    addAction(about);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

CConverterDialog::~CConverterDialog() = default;

void CConverterDialog::createControls() {
    const DialogUnits units = DialogUnits::forFont(font());

    // Created in the template's tab order, which Qt takes as the focus chain.
    auto* done = makeButton(this, TB_TEXT_DONE, "doneButton", IDC_DONE, units.toPixels(layout::kDone));
    done->setDefault(true);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);

    makeLabel(this, TB_TEXT_FILE_LABEL, units.toPixels(layout::kFileLabel));

    auto* getFile =
        makeButton(this, TB_TEXT_GET_FILE, "getFileButton", IDC_GET_FILE, units.toPixels(layout::kGetFile));
    connect(getFile, &QPushButton::clicked, this, &CConverterDialog::onGetFile);

    m_mergeButton = makeButton(this, TB_TEXT_MERGE, "mergeButton", IDC_MERGE, units.toPixels(layout::kMerge));
    connect(m_mergeButton, &QPushButton::clicked, this, &CConverterDialog::onMerge);

    makeLabel(this, TB_TEXT_CHOOSER_LABEL, units.toPixels(layout::kChooserLabel));

    // An editable drop-down: text typed into it is never read and never added
    // as an entry; only the selection index counts.
    m_versionChooser = new QComboBox(this);
    m_versionChooser->setObjectName(QStringLiteral("versionChooser"));
    m_versionChooser->setProperty(kControlIdProperty, IDC_CHOOSER);
    m_versionChooser->setEditable(true);
    m_versionChooser->setInsertPolicy(QComboBox::NoInsert);
    m_versionChooser->setCompleter(nullptr);
    for (const std::string& label : dialog::ConverterDialogModel::chooserLabels()) {
        m_versionChooser->addItem(fromUtf8(label));
    }
    // The template's height includes the dropped list; the field keeps its own.
    const QRect chooserArea = units.toPixels(layout::kChooser);
    m_versionChooser->setGeometry(chooserArea.x(), chooserArea.y(), chooserArea.width(),
                                  m_versionChooser->sizeHint().height());

    m_fileList = new QListWidget(this);
    m_fileList->setObjectName(QStringLiteral("fileList"));
    m_fileList->setProperty(kControlIdProperty, IDC_FILE_LIST);
    m_fileList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_fileList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_fileList->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_fileList->setTextElideMode(Qt::ElideNone);
    m_fileList->setGeometry(units.toPixels(layout::kFileList));
    m_fileList->viewport()->installEventFilter(this);

    auto* reset = makeButton(this, TB_TEXT_RESET, "resetButton", IDC_RESET, units.toPixels(layout::kReset));
    connect(reset, &QPushButton::clicked, this, &CConverterDialog::onReset);

    setFixedSize(units.toPixels(layout::kConverter));
    done->setFocus();
}

void CConverterDialog::onGetFile() {
    m_model.getFile();
}

void CConverterDialog::onMerge() {
    m_model.merge();
}

void CConverterDialog::onReset() {
    m_model.reset();
}

void CConverterDialog::onAbout() {
    CAboutDialog about(this);
    about.exec();
}

void CConverterDialog::insertEntries(std::span<const dialog::ListInsert> inserts) {
    // Entries on consecutive rows go in as one block: a batch into an empty
    // list is a single insertion, whatever its size.
    for (std::size_t first = 0; first < inserts.size();) {
        QStringList block;
        std::size_t next = first;
        while (next < inserts.size() && inserts[next].row == inserts[first].row + (next - first)) {
            block.append(QString::fromUtf8(inserts[next].text.data(),
                                           static_cast<qsizetype>(inserts[next].text.size())));
            ++next;
        }
        m_fileList->insertItems(static_cast<int>(inserts[first].row), block);
        first = next;
    }
}

void CConverterDialog::clearEntries() {
    m_fileList->clear();
}

std::optional<std::size_t> CConverterDialog::chooserSelection() const {
    const int index = m_versionChooser->currentIndex();
    if (index < 0) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(index);
}

void CConverterDialog::selectChooserEntry(std::size_t index) {
    m_versionChooser->setCurrentIndex(static_cast<int>(index));
}

void CConverterDialog::setMergeEnabled(bool enabled) {
    m_mergeButton->setEnabled(enabled);
}

void CConverterDialog::showMessage(const dialog::Message& message) {
    const QMessageBox::Icon icon =
        message.icon == dialog::Message::Icon::Stop ? QMessageBox::Critical : QMessageBox::NoIcon;
    m_seams.showMessage(this,
                        {fromUtf8(message.caption), fromUtf8(message.text), fromUtf8(message.details), icon});
}

std::optional<std::vector<std::string>> CConverterDialog::chooseFiles(const std::string& initialName) {
    const std::optional<QStringList> chosen = m_seams.chooseFiles(this, fromUtf8(initialName));
    if (!chosen) {
        return std::nullopt;
    }
    return utf8Paths(*chosen);
}

void CConverterDialog::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void CConverterDialog::showProgress(const dialog::Progress& progress) {
    if (!m_progress) {
        m_progress = std::make_unique<MergeProgress>(this);
    }
    m_progress->show(progress);
}

void CConverterDialog::hideProgress() {
    m_progress.reset();
}

std::string CConverterDialog::applicationName() const {
    // Given no name of its own, the application is named after its program file.
    return QCoreApplication::applicationName().toStdString();
}

bool CConverterDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_fileList->viewport() || event->type() != QEvent::ToolTip) {
        return QDialog::eventFilter(watched, event);
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    const int row = m_fileList->row(m_fileList->itemAt(help->pos()));
    if (row < 0) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(help->globalPos(), fromUtf8(m_model.describeEntry(static_cast<std::size_t>(row))),
                           m_fileList->viewport());
    }
    return true;
}

void CConverterDialog::dragEnterEvent(QDragEnterEvent* event) {
    if (!localFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void CConverterDialog::dropEvent(QDropEvent* event) {
    const QStringList files = localFiles(event->mimeData());
    if (files.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    m_model.addDropped(utf8Paths(files));
}
