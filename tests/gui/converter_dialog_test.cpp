// The Qt dialog: the dialog scenarios' driver over it (clicks, keys and drops
// as the user's; the open-file dialog and the boxes answered through the
// dialog's seams, or the platform's own boxes closed as a user would), and
// what only the Qt dialog has: its dialog units, layout and tab order, its
// window flags, the About box's texts, the platform's message box and
// open-file dialog, and texts that fit.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextEdit>
#include <QTimer>
#include <QToolTip>
#include <QtTest>

#include <algorithm>
#include <chrono>
#include <functional>
#include <iterator>
#include <memory>

#include "app/about_dialog.h"
#include "app/control_ids.h"
#include "app/converter_dialog.h"
#include "app/dialog_units.h"
#include "app/merge_progress.h"
#include "dialog/dialog_layout.h"
#include "tests/dialog/scenario_driver.h"
#include "tests/support/scripted_chooser.h"

QT_BEGIN_NAMESPACE
// What a failed check shows of Qt's texts.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace tallowbrook::dialog::test {
namespace {

using namespace tallowbrook::app; // the dialog, its seams and its units

// Acting inside a box's own loop: calls `act` with what `find` gives once it
// gives something, polling every 50 ms; the flag turns true when `act` ran.
// Past the deadline it gives up and closes whatever box or menu is up, so
// that a test fails instead of waiting for ever.
std::shared_ptr<bool> whenThere(std::function<QWidget*()> find, std::function<void(QWidget*)> act) {
    auto handled = std::make_shared<bool>(false);
    auto* timer = new QTimer(qApp);
    timer->setInterval(50);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        QWidget* found = find();
        if (found == nullptr && std::chrono::steady_clock::now() < deadline) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        if (found != nullptr) {
            *handled = true;
            act(found);
            return;
        }
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QDialog*>(window);
            if (box != nullptr && box->isVisible() && box->isModal()) {
                box->reject();
            }
        }
    });
    timer->start();
    return handled;
}

std::shared_ptr<bool> whenModalAppears(std::function<void(QWidget*)> act) {
    return whenThere([] { return QApplication::activeModalWidget(); }, std::move(act));
}

Control idOf(const QWidget* widget) {
    return static_cast<Control>(widget->property(kControlIdProperty).toInt());
}

// The texts a list or a drop-down shows, in order.
Paths texts(const QAbstractItemModel& entries) {
    Paths shown;
    for (int row = 0; row < entries.rowCount(); ++row) {
        shown.push_back(entries.index(row, 0).data().toString().toStdString());
    }
    return shown;
}

class QtDriver final : public WindowDriver {
public:
    void click(Control button) override { QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton); }
    void answerOpenFile(std::optional<Paths> chosen) override { m_files.queue(std::move(chosen)); }
    Paths offeredNames() override { return m_files.offered; }

    bool dragEnter(const QMimeData& data) {
        m_dialog.show();
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        enter.setAccepted(false);
        QApplication::sendEvent(&m_dialog, &enter);
        return enter.isAccepted();
    }
    void drop(const Paths& paths) override {
        QMimeData files;
        QList<QUrl> urls;
        for (const std::string& path : paths) {
            urls.append(QUrl::fromLocalFile(QString::fromStdString(path)));
        }
        files.setUrls(urls);
        EXPECT_TRUE(dragEnter(files));
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&m_dialog, &drop);
    }

    std::string hoverText(std::size_t row) override {
        m_dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_dialog));
        auto* list = control<QListWidget>(Control::List);
        const QPoint onEntry = list->visualItemRect(list->item(static_cast<int>(row))).center();
        QHelpEvent hover(QEvent::ToolTip, onEntry, list->viewport()->mapToGlobal(onEntry));
        QApplication::sendEvent(list->viewport(), &hover);
        return QToolTip::text().toStdString();
    }

    Paths listed() override { return texts(*control<QListWidget>(Control::List)->model()); }
    Paths chooserLabels() override { return texts(*chooser()->model()); }
    std::optional<std::size_t> chosen() override {
        const int index = chooser()->currentIndex();
        return index < 0 ? std::nullopt : std::optional<std::size_t>(index);
    }
    void choose(std::optional<std::size_t> row) override {
        chooser()->setCurrentIndex(row ? static_cast<int>(*row) : -1);
    }
    bool mergeEnabled() override { return control<QWidget>(Control::Merge)->isEnabled(); }
    bool busy() override { return QApplication::overrideCursor() != nullptr; }
    bool progressShown() override { return m_dialog.findChild<QProgressDialog*>() != nullptr; }
    const std::vector<Box>& boxes() override { return m_boxes; }
    void setProgressDelay(std::chrono::milliseconds delay) override { m_dialog.setProgressDelay(delay); }
    std::string programName() override {
        return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
    }

    void show() override {
        m_dialog.show();
        QApplication::setActiveWindow(&m_dialog);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&m_dialog));
    }
    void press(Key key) override {
        constexpr Qt::Key kKeys[] = {Qt::Key_Tab, Qt::Key_Space, Qt::Key_Up, Qt::Key_Return, Qt::Key_Escape};
        QTest::keyClick(keyTarget(), kKeys[static_cast<int>(key)]);
    }
    // A chooser's field counts as the chooser.
    Control focused() override {
        const QWidget* widget = m_dialog.focusWidget();
        for (; widget != nullptr && widget != &m_dialog && idOf(widget) == Control::None;) {
            widget = widget->parentWidget();
        }
        return widget != nullptr ? idOf(widget) : Control::None;
    }
    Control defaultButton() override {
        const QList<QPushButton*> buttons = m_dialog.findChildren<QPushButton*>();
        const auto found = std::ranges::find_if(buttons, &QPushButton::isDefault);
        return found != buttons.end() ? idOf(*found) : Control::None;
    }
    bool drawnAsDefault(Control button) override { return control<QPushButton>(button)->isDefault(); }

    void chooseByMouse(std::size_t row) override {
        QComboBox* box = chooser();
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 4, box->height() / 2));
        EXPECT_TRUE(QTest::qWaitFor([box] { return box->view()->isVisible(); }));
        // The list ignores a release quicker than a double click after it
        // opened, as no user's hand is that fast.
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        const QRect item = box->view()->visualRect(box->model()->index(static_cast<int>(row), 0));
        QTest::mouseClick(box->view()->viewport(), Qt::LeftButton, {}, item.center());
        EXPECT_TRUE(QTest::qWaitFor([box] { return !box->view()->isVisible(); }));
    }
    void useRealBoxes(bool byKeyboard) override { m_realBoxesByKeyboard = byKeyboard; }
    // F1, or the entry of the dialog's context menu.
    bool openAndCloseAbout(bool byKeyboard) override {
        const auto closed = whenModalAppears([byKeyboard](QWidget* box) {
            if (byKeyboard) {
                QTest::keyClick(box, Qt::Key_Escape);
            } else {
                QTest::mouseClick(box->findChild<QPushButton*>("aboutOkButton"), Qt::LeftButton);
            }
        });
        if (byKeyboard) {
            QTest::keyClick(keyTarget(), Qt::Key_F1);
        } else {
            whenThere([] { return QApplication::activePopupWidget(); },
                      [](QWidget* popup) {
                          auto* menu = qobject_cast<QMenu*>(popup);
                          QTest::mouseClick(menu, Qt::LeftButton, {},
                                            menu->actionGeometry(menu->actions().value(0)).center());
                      });
            QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(4, 4),
                                   m_dialog.mapToGlobal(QPoint(4, 4)));
            QApplication::sendEvent(&m_dialog, &menu);
        }
        EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() == nullptr; }));
        return *closed;
    }
    void closeBox() override { m_dialog.close(); }
    std::optional<bool> waitForEnd() override {
        const bool ended = QTest::qWaitFor([this] { return !m_dialog.isVisible(); });
        return ended ? std::optional(m_dialog.result() == QDialog::Accepted) : std::nullopt;
    }

    template <typename T> T* control(Control which) {
        for (QWidget* widget : m_dialog.findChildren<QWidget*>()) {
            if (idOf(widget) == which) {
                return qobject_cast<T*>(widget);
            }
        }
        qFatal("no control %d", static_cast<int>(which));
    }
    QComboBox* chooser() { return control<QComboBox>(Control::Chooser); }
    QWidget* keyTarget() { return m_dialog.focusWidget() != nullptr ? m_dialog.focusWidget() : &m_dialog; }

private:
    std::optional<QStringList> answer(const QString& initialName) {
        std::optional<QStringList> paths;
        if (const std::optional<Paths> chosen = m_files.next(initialName.toStdString())) {
            std::ranges::transform(*chosen, std::back_inserter(paths.emplace()), &QString::fromStdString);
        }
        return paths;
    }

    void record(QWidget* owner, const MessageRequest& request) {
        EXPECT_EQ(owner, &m_dialog) << "a box owned by the dialog";
        const auto* progress = owner->findChild<QProgressDialog*>("mergeProgress");
        m_boxes.push_back({request.caption.toStdString(), request.text.toStdString(),
                           request.details.toStdString(), request.icon == QMessageBox::Critical, busy(),
                           progress != nullptr && progress->isVisible()
                               ? std::optional<ProgressShown>({progress->labelText().toStdString(),
                                                               static_cast<std::size_t>(progress->value()),
                                                               static_cast<std::size_t>(progress->maximum())})
                               : std::nullopt});
        if (!m_realBoxesByKeyboard) {
            return;
        }
        const auto closed = whenModalAppears([keyboard = *m_realBoxesByKeyboard](QWidget* box) {
            if (keyboard) {
                QTest::keyClick(box, Qt::Key_Return);
            } else {
                QTest::mouseClick(qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok), Qt::LeftButton);
            }
        });
        platformSeams().showMessage(owner, request);
        EXPECT_TRUE(*closed) << "the box came up and was closed";
    }

    tallowbrook::test::ScriptedChooser<std::string> m_files;
    std::vector<Box> m_boxes;
    std::optional<bool> m_realBoxesByKeyboard;

public:
    CConverterDialog m_dialog{
        UiSeams{[this](QWidget*, const QString& initialName) { return answer(initialName); },
                [this](QWidget* owner, const MessageRequest& request) { record(owner, request); }}};
};

namespace layout = dialog::layout;

class QtConverterDialog : public ::testing::Test {
protected:
    template <typename T = QWidget> T* named(const char* name) {
        return dialog.findChild<T*>(QString::fromLatin1(name));
    }

    QtDriver d;
    CConverterDialog& dialog = d.m_dialog;
};

TEST(QtDialogUnits, RoundToNearestPixel) {
    const std::pair<DialogUnits, QRect> cases[] = {{{6, 13}, QRect(330, 117, 75, 23)},
                                                   {{7, 16}, QRect(385, 144, 88, 28)},
                                                   {{5, 11}, QRect(275, 99, 63, 19)}}; // halves round up
    for (const auto& [units, doneButton] : cases) {
        EXPECT_EQ(units.toPixels(layout::kDone), doneButton) << doneButton.width();
    }
}

TEST_F(QtConverterDialog, StartState) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tallowbrook 5.0 Beta"));
    EXPECT_TRUE(d.chooser()->isEditable());
    EXPECT_EQ(dialog.chooserSelection(), std::optional<std::size_t>(5));
    EXPECT_TRUE(named<QPushButton>("doneButton")->isDefault());
    EXPECT_FALSE(dialog.windowIcon().isNull());
    EXPECT_TRUE(dialog.acceptDrops());
    // What the window manager is asked for: a title, a close box and the
    // window menu, exactly these (no minimise or maximise box).
    CAboutDialog about;
    for (const QWidget* window : {static_cast<QWidget*>(&dialog), static_cast<QWidget*>(&about)}) {
        const Qt::WindowFlags flags = window->windowFlags();
        EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
        EXPECT_TRUE(flags.testFlags(Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                    Qt::WindowCloseButtonHint));
        EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    }
}

// Each control carries its name and ID and stands where the template puts it,
// in the dialog font's units.
TEST_F(QtConverterDialog, ControlsCarryTheirIdsAndTheTemplatesGeometry) {
    const DialogUnits units = DialogUnits::forFont(dialog.font());
    const struct {
        const char* name;
        int id;
        DialogRect rect;
    } controls[] = {
        {"doneButton", IDC_DONE, layout::kDone},        {"getFileButton", IDC_GET_FILE, layout::kGetFile},
        {"mergeButton", IDC_MERGE, layout::kMerge},     {"versionChooser", IDC_CHOOSER, layout::kChooser},
        {"fileList", IDC_FILE_LIST, layout::kFileList}, {"resetButton", IDC_RESET, layout::kReset}};
    for (const auto& c : controls) {
        ASSERT_NE(named(c.name), nullptr) << c.name;
        EXPECT_EQ(named(c.name)->property(kControlIdProperty).toInt(), c.id) << c.name;
        if (c.id != IDC_CHOOSER) {
            EXPECT_EQ(named(c.name)->geometry(), units.toPixels(c.rect)) << c.name;
        }
    }
    // The chooser keeps the template's place and width; its height is the field's own.
    const QRect chooser = units.toPixels(layout::kChooser);
    EXPECT_EQ(d.chooser()->geometry().topLeft(), chooser.topLeft());
    EXPECT_EQ(d.chooser()->width(), chooser.width());
    EXPECT_EQ(dialog.size(), units.toPixels(layout::kConverter));
}

// Tab order of the template: Done, Get File, Merge, chooser, list, Reset.
TEST_F(QtConverterDialog, TabOrderFollowsTheTemplate) {
    QList<int> order;
    QWidget* widget = named("doneButton");
    do {
        const QVariant id = widget->property(kControlIdProperty);
        if (id.isValid() && (widget->focusPolicy() & Qt::TabFocus) && !order.contains(id.toInt())) {
            order.append(id.toInt());
        }
        widget = widget->nextInFocusChain();
    } while (widget != named("doneButton"));
    EXPECT_EQ(order, (QList<int>{IDC_DONE, IDC_GET_FILE, IDC_MERGE, IDC_CHOOSER, IDC_FILE_LIST, IDC_RESET}));
}

TEST_F(QtConverterDialog, TypedTextNeverBecomesAnEntry) {
    dialog.show();
    d.chooser()->lineEdit()->setText("Version 9.99");
    QTest::keyClick(d.chooser()->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(d.chooser()->count(), 6);
    EXPECT_EQ(dialog.chooserSelection(), std::optional<std::size_t>(5));
}

// List left under its label, the three commands stacked at the right,
// "Done" below them, the chooser under the list with its label on its left.
TEST_F(QtConverterDialog, ArrangementFollowsTheTemplate) {
    const QRect list = named("fileList")->geometry();
    const QRect getFile = named("getFileButton")->geometry();
    const QRect merge = named("mergeButton")->geometry();
    const QRect reset = named("resetButton")->geometry();
    const QRect done = named("doneButton")->geometry();
    const QRect chooser = d.chooser()->geometry();
    EXPECT_LT(list.right(), getFile.left());
    EXPECT_TRUE(getFile.bottom() < merge.top() && merge.bottom() < reset.top() &&
                reset.bottom() < done.top());
    EXPECT_LT(list.bottom(), chooser.top());
    EXPECT_TRUE(QRect(QPoint(0, 0), dialog.size()).contains(done));
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
        if (label->text() == "Merge To:") {
            EXPECT_LT(label->geometry().right(), chooser.left());
        } else {
            EXPECT_LE(label->geometry().bottom(), list.top());
        }
    }
}

TEST_F(QtConverterDialog, ADragOfAnythingButLocalFilesIsRefused) {
    QMimeData web;
    web.setUrls({QUrl("https://example.invalid/a.dat")});
    EXPECT_FALSE(d.dragEnter(web));
}

TEST_F(QtConverterDialog, AboutOpensFromF1AndCloses) {
    d.show();
    const auto closed = whenModalAppears([&](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), QStringLiteral("About Tallowbrook"));
        QStringList texts;
        for (const QLabel* label : modal->findChildren<QLabel*>()) {
            texts.append(label->text());
        }
        EXPECT_TRUE(texts.contains("Tallowbrook Version 5.0 Beta"));
        EXPECT_TRUE(texts.contains(QStringLiteral(TB_TEXT_ABOUT_NOTICE)));
        QTest::mouseClick(modal->findChild<QPushButton*>("aboutOkButton"), Qt::LeftButton);
    });
    EXPECT_EQ(named<QAction>("aboutAction")->text(), QStringLiteral("&About Tallowbrook..."));
    QTest::keyClick(&dialog, Qt::Key_F1);
    EXPECT_TRUE(*closed);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(dialog.isVisible()); // back to the main dialog, unchanged
}

// One OK; details only on request, in a field as wide as a typical line
// and of bounded height, so that the box stays on the screen.
TEST(QtPlatformBoxes, MessageBoxHasOneOkAndDetailsOnRequest) {
    const QString line = QStringLiteral("C:\\Users\\someone\\engraver\\cfg0000.dat: Version 6.04, "
                                        "written as cfg0000_802.dat\n");
    for (const int lines : {0, 1, 12, 10000}) {
        SCOPED_TRACE(lines);
        // The owner at the screen's right edge: the box, placed over it at
        // its small size, must not run off the screen as its details open.
        QWidget owner;
        const QRect area = owner.screen()->availableGeometry();
        owner.setGeometry(area.right() - 200, area.top() + 40, 200, 100);
        owner.show();
        const auto closed = whenModalAppears([&](QWidget* modal) {
            auto* shown = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(shown, nullptr);
            EXPECT_EQ(shown->icon(), QMessageBox::NoIcon);
            EXPECT_EQ(shown->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
            EXPECT_EQ(shown->windowTitle(), QStringLiteral("Tallowbrook"));
            EXPECT_EQ(shown->detailedText(), line.repeated(lines));
            bool hasDetailsButton = false;
            for (QAbstractButton* button : shown->buttons()) {
                if (button->text() == "Show Details...") {
                    hasDetailsButton = true;
                    button->click();
                }
            }
            EXPECT_EQ(hasDetailsButton, lines > 0);
            auto* field = shown->findChild<QTextEdit*>();
            EXPECT_TRUE(field == nullptr || field->isVisible());
            EXPECT_TRUE(field != nullptr || lines == 0);
            if (field != nullptr && lines > 0) {
                EXPECT_EQ(field->lineWrapMode(), QTextEdit::NoWrap);
                EXPECT_GE(field->viewport()->width(),
                          QFontMetrics(QApplication::font()).horizontalAdvance(line.trimmed()));
                field->setFocus();
                QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier); // selects all, for copying
                EXPECT_EQ(field->textCursor().selectedText().size(), field->toPlainText().size());
            }
            const QRect box = shown->frameGeometry();
            EXPECT_TRUE(owner.screen()->availableGeometry().contains(box));
            QAbstractButton* ok = shown->button(QMessageBox::Ok);
            EXPECT_TRUE(
                QRect(QPoint(0, 0), box.size()).contains(QRect(ok->mapTo(shown, QPoint(0, 0)), ok->size())));
            QTest::keyClick(shown, Qt::Key_Escape);
        });
        platformSeams().showMessage(&owner, {"Tallowbrook", "Done! Merged 0 configuration files.\n",
                                             line.repeated(lines), QMessageBox::NoIcon});
        EXPECT_TRUE(*closed);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr); // Esc closed it
    }
}

TEST(QtPlatformBoxes, FileChooserOffersOneTypeAndCancelsSilently) {
    QWidget owner;
    const auto closed = whenModalAppears([&](QWidget* modal) {
        auto* chooser = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(chooser, nullptr);
        EXPECT_EQ(chooser->nameFilters(), QStringList{"Trevak Configuration Data Files (*.Dat)"});
        EXPECT_EQ(chooser->fileMode(), QFileDialog::ExistingFiles);
        EXPECT_EQ(chooser->findChild<QLineEdit*>("fileNameEdit")->text(), QStringLiteral("   "));
        chooser->reject();
    });
    EXPECT_FALSE(platformSeams().chooseFiles(&owner, "   "));
    EXPECT_TRUE(*closed);
}

// Every text of the dialogs fits its control at the control's own font.
TEST_F(QtConverterDialog, TextsFitTheirControls) {
    CAboutDialog about;
    MergeProgress progress(&dialog);
    progress.show({99999, 99999, "File 99999 of 99999"});
    auto* progressBox = named<QProgressDialog>("mergeProgress");
    ASSERT_NE(progressBox, nullptr);
    const auto expectFits = [](const QWidget* control, const QString& text, int room) {
        EXPECT_LE(control->fontMetrics().horizontalAdvance(text), room) << text.toStdString();
    };
    for (const QWidget* window : std::initializer_list<const QWidget*>{&dialog, &about, progressBox}) {
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            expectFits(label, label->text(), label->contentsRect().width());
        }
        for (const QPushButton* button : window->findChildren<QPushButton*>()) {
            const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
            expectFits(button, button->text(), button->width() - 2 * margin);
        }
    }
}

} // namespace

std::unique_ptr<ScenarioDriver> makeDriver() {
    return std::make_unique<QtDriver>();
}
std::unique_ptr<WindowDriver> makeWindowDriver() {
    return std::make_unique<QtDriver>();
}

} // namespace tallowbrook::dialog::test

// The application object exists for every test; listing the tests needs none.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
