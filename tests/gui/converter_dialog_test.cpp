// The main dialog's commands as the user meets them: the open-file dialog and
// the message boxes are answered through the dialog's seams, the About box is
// closed through the active modal widget.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
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
#include <QSet>
#include <QStyle>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QToolTip>
#include <QtTest>

#include <functional>
#include <optional>
#include <vector>

#include "app/about_dialog.h"
#include "app/control_ids.h"
#include "app/converter_dialog.h"
#include "app/dialog_units.h"
#include "app/merge_progress.h"
#include "dialog/dialog_layout.h"

using namespace tallowbrook::app;
namespace layout = tallowbrook::dialog::layout;

namespace {

// Answers the open-file dialog from a queue and records what it was offered.
struct ScriptedChooser {
    std::vector<std::optional<QStringList>> answers;
    std::vector<QString> offeredNames;

    FileChooser seam() {
        return [this](QWidget*, const QString& initialName) {
            offeredNames.push_back(initialName);
            std::optional<QStringList> answer = answers.front();
            answers.erase(answers.begin());
            return answer;
        };
    }
};

struct RecordedMessage {
    MessageRequest request;
    bool progressShown = false;
};

struct Fixture {
    ScriptedChooser chooser;
    std::vector<RecordedMessage> messages;
    // When set, shows each box once it is recorded (the platform's own boxes).
    MessagePresenter showToo;
    CConverterDialog dialog{
        UiSeams{chooser.seam(), [this](QWidget* owner, const MessageRequest& request) {
                    const auto* progress = owner->findChild<QProgressDialog*>("mergeProgress");
                    messages.push_back({request, progress != nullptr && progress->isVisible()});
                    if (showToo) {
                        showToo(owner, request);
                    }
                }}};

    template <typename T> T* control(const char* name) {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        if (widget == nullptr) {
            qFatal("no control %s", name);
        }
        return widget;
    }
    QListWidget* list() { return control<QListWidget>("fileList"); }
    QComboBox* chooserBox() { return control<QComboBox>("versionChooser"); }
    QPushButton* merge() { return control<QPushButton>("mergeButton"); }

    QStringList entries() {
        QStringList texts;
        for (int row = 0; row < list()->count(); ++row) {
            texts.append(list()->item(row)->text());
        }
        return texts;
    }
    void add(const QStringList& paths) {
        chooser.answers.emplace_back(paths);
        QTest::mouseClick(control<QPushButton>("getFileButton"), Qt::LeftButton);
    }
};

QString writeFile(const QDir& dir, const QString& name, qsizetype length) {
    const QString path = QDir::toNativeSeparators(dir.filePath(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray(length, '\0')) != length) {
        qFatal("cannot write %s", qPrintable(path));
    }
    return path;
}

qint64 sizeOf(const QDir& dir, const QString& name) {
    const QFileInfo info(dir.filePath(name));
    return info.isFile() ? info.size() : -1;
}

// Calls `act` with the first modal widget that appears, polling every 50 ms.
void whenModalAppears(const std::function<void(QWidget*)>& act) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(50);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start();
}

// Calls `act` with what `find` gives once it gives something, polling every 50 ms.
void whenThere(const std::function<QWidget*()>& find, const std::function<void(QWidget*)>& act) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(50);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, find, act] {
        if (QWidget* found = find()) {
            timer->stop();
            timer->deleteLater();
            act(found);
        }
    });
    timer->start();
}

// The main dialog's control that holds its focus (a chooser's field counts as
// the chooser), or "no focus".
QString focusedControl(const QWidget& dialog) {
    for (const QWidget* widget = dialog.focusWidget(); widget != nullptr && widget != &dialog;
         widget = widget->parentWidget()) {
        if (widget->property(kControlIdProperty).isValid()) {
            return widget->objectName();
        }
    }
    return QStringLiteral("no focus");
}

// A text and the room its control gives it.
void expectFits(const QWidget* control, const QString& text, int room) {
    const int width = control->fontMetrics().horizontalAdvance(text);
    QVERIFY2(width <= room,
             qPrintable(QStringLiteral("\"%1\" needs %2 px, has %3").arg(text).arg(width).arg(room)));
}

} // namespace

class ConverterDialogTest : public QObject {
    Q_OBJECT

private slots:
    void dialogUnitsRoundToNearestPixel_data() {
        QTest::addColumn<int>("baseWidth");
        QTest::addColumn<int>("baseHeight");
        QTest::addColumn<QRect>("doneButton");
        QTest::newRow("6x13") << 6 << 13 << QRect(330, 117, 75, 23);
        QTest::newRow("7x16") << 7 << 16 << QRect(385, 144, 88, 28);
        QTest::newRow("5x11, halves round up") << 5 << 11 << QRect(275, 99, 63, 19);
    }
    void dialogUnitsRoundToNearestPixel() {
        QFETCH(int, baseWidth);
        QFETCH(int, baseHeight);
        QFETCH(QRect, doneButton);
        QCOMPARE(DialogUnits(baseWidth, baseHeight).toPixels(layout::kDone), doneButton);
    }

    void startState() {
        Fixture f;
        QCOMPARE(f.dialog.windowTitle(), QStringLiteral("Tallowbrook 5.0 Beta"));
        QCOMPARE(f.list()->count(), 0);
        QVERIFY(f.chooserBox()->isEditable());
        QStringList labels;
        for (int i = 0; i < f.chooserBox()->count(); ++i) {
            labels.append(f.chooserBox()->itemText(i));
        }
        QCOMPARE(labels, (QStringList{"Version 6.04", "Version 7.00 - 7.04", "Version 7.05", "Version 7.07",
                                      "Version 8.00", "Version 8.02"}));
        QCOMPARE(f.chooserBox()->currentIndex(), 5);
        QCOMPARE(f.dialog.chooserSelection(), std::optional<std::size_t>(5));
        QVERIFY(f.merge()->isEnabled());
        QVERIFY(f.control<QPushButton>("doneButton")->isDefault());
        QVERIFY(!f.dialog.windowIcon().isNull());
        QVERIFY(f.dialog.acceptDrops());
        // What the window manager is asked for: a title, a close box and the
        // window menu, exactly these (no minimise or maximise box).
        CAboutDialog about;
        for (const QWidget* window : {static_cast<QWidget*>(&f.dialog), static_cast<QWidget*>(&about)}) {
            const Qt::WindowFlags flags = window->windowFlags();
            QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
            QVERIFY(flags.testFlags(Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                    Qt::WindowCloseButtonHint));
            QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        }
    }

    void controlsCarryTheirIds() {
        Fixture f;
        const std::pair<const char*, int> ids[] = {
            {"doneButton", IDC_DONE},        {"getFileButton", IDC_GET_FILE}, {"mergeButton", IDC_MERGE},
            {"versionChooser", IDC_CHOOSER}, {"fileList", IDC_FILE_LIST},     {"resetButton", IDC_RESET}};
        for (const auto& [name, id] : ids) {
            QCOMPARE(f.control<QWidget>(name)->property(kControlIdProperty).toInt(), id);
        }
    }

    // Each control stands where the template puts it, in the dialog font's units.
    void geometryIsTheTemplates() {
        Fixture f;
        const DialogUnits units = DialogUnits::forFont(f.dialog.font());
        const std::pair<const char*, tallowbrook::dialog::DialogRect> rects[] = {
            {"doneButton", layout::kDone},
            {"getFileButton", layout::kGetFile},
            {"mergeButton", layout::kMerge},
            {"fileList", layout::kFileList},
            {"resetButton", layout::kReset}};
        for (const auto& [name, rect] : rects) {
            QCOMPARE(f.control<QWidget>(name)->geometry(), units.toPixels(rect));
        }
        // The chooser keeps the template's place and width; its height is the field's own.
        const QRect chooser = units.toPixels(layout::kChooser);
        QCOMPARE(f.chooserBox()->geometry().topLeft(), chooser.topLeft());
        QCOMPARE(f.chooserBox()->width(), chooser.width());
        QCOMPARE(f.dialog.size(), units.toPixels(layout::kConverter));
    }

    // Tab order of the template: Done, Get File, Merge, chooser, list, Reset.
    void tabOrderFollowsTheTemplate() {
        Fixture f;
        QList<int> order;
        QWidget* widget = f.control<QWidget>("doneButton");
        do {
            const QVariant id = widget->property(kControlIdProperty);
            if (id.isValid() && (widget->focusPolicy() & Qt::TabFocus) && !order.contains(id.toInt())) {
                order.append(id.toInt());
            }
            widget = widget->nextInFocusChain();
        } while (widget != f.control<QWidget>("doneButton"));
        QCOMPARE(order,
                 (QList<int>{IDC_DONE, IDC_GET_FILE, IDC_MERGE, IDC_CHOOSER, IDC_FILE_LIST, IDC_RESET}));
    }

    void typedTextNeverBecomesAnEntry() {
        Fixture f;
        f.dialog.show();
        f.chooserBox()->lineEdit()->setText("Version 9.99");
        QTest::keyClick(f.chooserBox()->lineEdit(), Qt::Key_Return);
        QCOMPARE(f.chooserBox()->count(), 6);
        QCOMPARE(f.dialog.chooserSelection(), std::optional<std::size_t>(5));
    }

    // List left under its label, the three commands stacked at the right,
    // "Done" below them, the chooser under the list with its label on its left.
    void arrangementFollowsTheTemplate() {
        Fixture f;
        const QRect list = f.list()->geometry();
        const QRect getFile = f.control<QWidget>("getFileButton")->geometry();
        const QRect merge = f.merge()->geometry();
        const QRect reset = f.control<QWidget>("resetButton")->geometry();
        const QRect done = f.control<QWidget>("doneButton")->geometry();
        const QRect chooser = f.chooserBox()->geometry();
        QVERIFY(list.right() < getFile.left());
        QVERIFY(getFile.bottom() < merge.top() && merge.bottom() < reset.top() &&
                reset.bottom() < done.top());
        QVERIFY(list.bottom() < chooser.top());
        QVERIFY(QRect(QPoint(0, 0), f.dialog.size()).contains(done));
        for (const QLabel* label : f.dialog.findChildren<QLabel*>()) {
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
            if (label->text() == "Merge To:") {
                QVERIFY(label->geometry().right() < chooser.left());
            } else {
                QVERIFY(label->geometry().bottom() <= list.top());
            }
        }
    }

    // The buttons reach the model, and the widgets show what it decides, in
    // Qt's own case-insensitive order.
    void buttonsDriveTheModel() {
        QTemporaryDir temp;
        QVERIFY(temp.isValid());
        const QDir dir(temp.path());
        Fixture f;
        f.add(
            {writeFile(dir, "b.DAT", 1472), writeFile(dir, "a.dat", 2888), writeFile(dir, "odd.dat", 1473)});
        f.add({QDir::toNativeSeparators(dir.filePath("A.dat"))}); // equal but for case: after a.dat
        QCOMPARE(f.chooser.offeredNames.back(), QDir::toNativeSeparators(dir.filePath("odd.dat")));
        QCOMPARE(f.entries().mid(0, 2), (QStringList{QDir::toNativeSeparators(dir.filePath("a.dat")),
                                                     QDir::toNativeSeparators(dir.filePath("A.dat"))}));
        f.chooserBox()->setCurrentIndex(2); // 7.05
        QTest::mouseClick(f.merge(), Qt::LeftButton);

        QCOMPARE(sizeOf(dir, "a_705.dat"), 1852);
        QCOMPARE(sizeOf(dir, "b_705.DAT"), 1852);
        QCOMPARE(sizeOf(dir, "odd_705.dat"), -1);
        // "A.dat" names no file here: its failure is reported, then the summary.
        QCOMPARE(f.messages.size(), std::size_t{2});
        QVERIFY(f.messages[0].request.text.startsWith("File could not be opened \n"));
        const MessageRequest& summary = f.messages[1].request;
        QCOMPARE(summary.text, QStringLiteral("Done! Merged 2 configuration files.\n"));
        QCOMPARE(summary.caption, QStringLiteral("Tallowbrook"));
        QCOMPARE(summary.icon, QMessageBox::NoIcon);
        // A line per entry; the indented lines under the written ones say what changed.
        QCOMPARE(summary.details.count('\n') - summary.details.count(QStringLiteral("\n  ")), 4);
        QVERIFY(summary.details.contains(QStringLiteral("\n  the value 0 at 1852 is dropped\n")));
        QVERIFY(!f.merge()->isEnabled());
        QVERIFY(QApplication::overrideCursor() == nullptr);

        QTest::mouseClick(f.control<QPushButton>("resetButton"), Qt::LeftButton);
        QVERIFY(f.merge()->isEnabled());
        QCOMPARE(f.list()->count(), 0);
        QCOMPARE(f.chooserBox()->currentIndex(), 5);
    }

    void failingOutputEndsTheRunWithAStopReport() {
        QTemporaryDir temp;
        const QDir dir(temp.path());
        Fixture f;
        f.add({writeFile(dir, "a.dat", 2888), writeFile(dir, "b.dat", 2888)});
        QVERIFY(dir.mkdir("b_802.dat")); // a folder where the output should go
        QTest::mouseClick(f.merge(), Qt::LeftButton);

        QCOMPARE(f.messages.size(), std::size_t{1});
        const MessageRequest& report = f.messages[0].request;
        QCOMPARE(report.icon, QMessageBox::Critical);
        // The application's name: the program file's name without extension.
        QCOMPARE(report.caption, QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
        QVERIFY2(report.text.contains(QDir::toNativeSeparators(dir.filePath("b_802.dat"))),
                 qPrintable(report.text));
        QVERIFY(f.merge()->isEnabled());
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void longRunShowsItsProgress() {
        QTemporaryDir temp;
        const QDir dir(temp.path());
        Fixture f;
        f.dialog.setProgressDelay(std::chrono::milliseconds(0));
        f.add({writeFile(dir, "a.dat", 1472), writeFile(dir, "b.dat", 1472)});
        f.dialog.show();
        QTest::mouseClick(f.merge(), Qt::LeftButton);
        QCOMPARE(f.messages.size(), std::size_t{1});
        QVERIFY(!f.messages[0].progressShown); // gone before the summary comes
        QVERIFY(f.dialog.findChild<QProgressDialog*>() == nullptr);
    }

    // Files and a folder dropped on the dialog join the list; a drag of
    // anything but local files is refused.
    void dropsJoinTheList() {
        QTemporaryDir temp;
        const QDir dir(temp.path());
        QVERIFY(dir.mkdir("sub"));
        const QString inner = writeFile(QDir(dir.filePath("sub")), "c.DAT", 10);
        writeFile(QDir(dir.filePath("sub")), "notes.txt", 10);
        const QString loose = writeFile(dir, "loose.bin", 10);
        Fixture f;
        f.dialog.show();

        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(loose), QUrl::fromLocalFile(dir.filePath("sub")),
                       QUrl::fromLocalFile(loose)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&f.dialog, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&f.dialog, &drop);
        QCOMPARE(f.entries(), (QStringList{loose, loose, inner}));

        QMimeData web;
        web.setUrls({QUrl("https://example.invalid/a.dat")});
        QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
        refused.setAccepted(false);
        QApplication::sendEvent(&f.dialog, &refused);
        QVERIFY(!refused.isAccepted());
    }

    // The hover text of an entry is the model's description of its file.
    void hoverShowsWhatTheFileIs() {
        QTemporaryDir temp;
        const QDir dir(temp.path());
        Fixture f;
        f.add({writeFile(dir, "a.dat", 1856)});
        f.dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.dialog));
        QWidget* viewport = f.list()->viewport();
        const QPoint onEntry = f.list()->visualItemRect(f.list()->item(0)).center();
        QHelpEvent hover(QEvent::ToolTip, onEntry, viewport->mapToGlobal(onEntry));
        QApplication::sendEvent(viewport, &hover);
        QCOMPARE(QToolTip::text(), QString::fromStdString(f.dialog.model().describeEntry(0)));
        QVERIFY(QToolTip::text().contains("7.07"));
    }

    void aboutOpensFromF1AndCloses() {
        Fixture f;
        f.dialog.show();
        QApplication::setActiveWindow(&f.dialog);
        QVERIFY(QTest::qWaitForWindowActive(&f.dialog));
        QString seenTitle;
        QStringList seenTexts;
        whenModalAppears([&](QWidget* modal) {
            seenTitle = modal->windowTitle();
            for (const QLabel* label : modal->findChildren<QLabel*>()) {
                seenTexts.append(label->text());
            }
            QTest::mouseClick(modal->findChild<QPushButton*>("aboutOkButton"), Qt::LeftButton);
        });
        QCOMPARE(f.dialog.findChild<QAction*>("aboutAction")->text(),
                 QStringLiteral("&About Tallowbrook..."));
        QTest::keyClick(&f.dialog, Qt::Key_F1);
        QCOMPARE(seenTitle, QStringLiteral("About Tallowbrook"));
        QVERIFY(seenTexts.contains("Tallowbrook Version 5.0 Beta"));
        QVERIFY(seenTexts.contains(QStringLiteral(TB_TEXT_ABOUT_NOTICE)));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(f.dialog.isVisible()); // back to the main dialog, unchanged
    }

    // One OK; details only on request, in a field as wide as a typical line
    // and of bounded height, so that the box stays on the screen.
    void platformMessageBoxHasOneOkAndDetailsOnRequest() {
        const QString line = QStringLiteral("C:\\Users\\someone\\engraver\\cfg0000.dat: Version 6.04, "
                                            "written as cfg0000_802.dat\n");
        for (const int lines : {0, 1, 12, 10000}) {
            // The owner at the screen's right edge: the box, placed over it at
            // its small size, must not run off the screen as its details open.
            QWidget owner;
            const QRect area = owner.screen()->availableGeometry();
            owner.setGeometry(area.right() - 200, area.top() + 40, 200, 100);
            owner.show();
            QMessageBox::Icon icon = QMessageBox::Warning;
            QMessageBox::StandardButtons buttons;
            QString title;
            QString details;
            bool hasDetailsButton = false;
            QRect box;
            QRect ok;
            int fieldWidth = 0;
            bool wraps = true;
            bool selectsAll = false;
            whenModalAppears([&](QWidget* modal) {
                auto* shown = qobject_cast<QMessageBox*>(modal);
                QVERIFY(shown != nullptr);
                icon = shown->icon();
                buttons = shown->standardButtons();
                title = shown->windowTitle();
                details = shown->detailedText();
                for (QAbstractButton* button : shown->buttons()) {
                    if (button->text() == "Show Details...") {
                        hasDetailsButton = true;
                        button->click();
                    }
                }
                if (auto* field = shown->findChild<QTextEdit*>()) {
                    QVERIFY(field->isVisible());
                    fieldWidth = field->viewport()->width();
                    wraps = field->lineWrapMode() != QTextEdit::NoWrap;
                    field->setFocus();
                    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
                    selectsAll = field->textCursor().selectedText().size() == field->toPlainText().size();
                }
                box = shown->frameGeometry();
                QAbstractButton* okButton = shown->button(QMessageBox::Ok);
                ok = QRect(okButton->mapTo(shown, QPoint(0, 0)), okButton->size());
                QTest::keyClick(shown, Qt::Key_Escape);
            });
            platformSeams().showMessage(&owner, {"Tallowbrook", "Done! Merged 0 configuration files.\n",
                                                 line.repeated(lines), QMessageBox::NoIcon});
            QCOMPARE(icon, QMessageBox::NoIcon);
            QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
            QCOMPARE(title, QStringLiteral("Tallowbrook"));
            QCOMPARE(details, line.repeated(lines));
            QCOMPARE(hasDetailsButton, lines > 0);
            QVERIFY2(owner.screen()->availableGeometry().contains(box), qPrintable(QString::number(lines)));
            QVERIFY(QRect(QPoint(0, 0), box.size()).contains(ok));
            if (lines > 0) {
                QVERIFY(!wraps);
                QVERIFY(selectsAll); // Ctrl+A, for copying
                QVERIFY2(fieldWidth >= QFontMetrics(QApplication::font()).horizontalAdvance(line.trimmed()),
                         qPrintable(QString::number(fieldWidth)));
            }
            QVERIFY(QApplication::activeModalWidget() == nullptr); // Esc closed it
        }
    }

    void platformFileChooserOffersOneTypeAndCancelsSilently() {
        QWidget owner;
        QStringList filters;
        QFileDialog::FileMode mode = QFileDialog::AnyFile;
        QString offeredName;
        whenModalAppears([&](QWidget* modal) {
            auto* chooser = qobject_cast<QFileDialog*>(modal);
            QVERIFY(chooser != nullptr);
            filters = chooser->nameFilters();
            mode = chooser->fileMode();
            offeredName = chooser->findChild<QLineEdit*>("fileNameEdit")->text();
            chooser->reject();
        });
        QVERIFY(!platformSeams().chooseFiles(&owner, "   "));
        QCOMPARE(filters, QStringList{"Trevak Configuration Data Files (*.Dat)"});
        QCOMPARE(mode, QFileDialog::ExistingFiles);
        QCOMPARE(offeredName, QStringLiteral("   "));
    }

    // Every text of the dialogs fits its control at the control's own font.
    void textsFitTheirControls() {
        Fixture f;
        CAboutDialog about;
        MergeProgress progress(&f.dialog);
        progress.show({99999, 99999, "File 99999 of 99999"});
        auto* progressBox = f.dialog.findChild<QProgressDialog*>("mergeProgress");
        QVERIFY(progressBox != nullptr);
        for (const QWidget* window : std::initializer_list<const QWidget*>{&f.dialog, &about, progressBox}) {
            for (const QLabel* label : window->findChildren<QLabel*>()) {
                expectFits(label, label->text(), label->contentsRect().width());
            }
            for (const QPushButton* button : window->findChildren<QPushButton*>()) {
                const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
                expectFits(button, button->text(), button->width() - 2 * margin);
            }
        }
    }

    // A user's whole way through, by keyboard only or by mouse only, with the
    // real message boxes and About box: after every step the focus is on a
    // control that takes keys, and at the end Esc or Enter ends the program.
    void journeysKeepTheKeyboardAlive_data() {
        QTest::addColumn<bool>("keyboard");
        QTest::addColumn<QStringList>("steps"); // each "action>control with the focus after it"
        QTest::addColumn<int>("endKey");
        QTest::addColumn<int>("result");
        const int esc = Qt::Key_Escape;
        const int enter = Qt::Key_Return;
        const int rejected = QDialog::Rejected;
        const int accepted = QDialog::Accepted;
        const QStringList merged{"add>getFileButton", "choose>versionChooser", "merge>versionChooser"};
        for (const bool keyboard : {true, false}) {
            const char* by = keyboard ? "keyboard: " : "mouse: ";
            QTest::addRow("%sstart, add, choose, merge, Esc", by) << keyboard << merged << esc << rejected;
            QTest::addRow("%smerged, then Enter presses Done", by) << keyboard << merged << enter << accepted;
            QTest::addRow("%smerged, then Reset", by)
                << keyboard << (merged + QStringList{"reset>resetButton"}) << esc << rejected;
            QTest::addRow("%sa failed output", by)
                << keyboard << QStringList{"add>getFileButton", "fail>mergeButton"} << esc << rejected;
            QTest::addRow("%sthe About box", by)
                << keyboard << QStringList{"add>getFileButton", "about>getFileButton"} << esc << rejected;
            QTest::addRow("%sa source that cannot be opened", by)
                << keyboard << QStringList{"add a missing file>getFileButton", "merge>versionChooser"} << esc
                << rejected;
        }
        QTest::addRow("keyboard: Tab after Merge reaches every enabled control")
            << true << (merged + QStringList{"tab round>versionChooser"}) << esc << rejected;
    }
    void journeysKeepTheKeyboardAlive() {
        QFETCH(bool, keyboard);
        QFETCH(QStringList, steps);
        QFETCH(int, endKey);
        QFETCH(int, result);
        QTemporaryDir temp;
        const QDir dir(temp.path());
        const QStringList files{writeFile(dir, "a.dat", 1472), writeFile(dir, "b.dat", 2888)};
        Fixture f;
        // Boxes are the platform's own, closed as the user would.
        f.showToo = [keyboard](QWidget* owner, const MessageRequest& request) {
            whenModalAppears([keyboard](QWidget* box) {
                if (keyboard) {
                    QTest::keyClick(box, Qt::Key_Return);
                } else {
                    QTest::mouseClick(qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok),
                                      Qt::LeftButton);
                }
            });
            platformSeams().showMessage(owner, request);
        };
        f.dialog.setProgressDelay(std::chrono::milliseconds(0));
        f.dialog.show();
        QApplication::setActiveWindow(&f.dialog);
        QVERIFY(QTest::qWaitForWindowActive(&f.dialog));
        QCOMPARE(focusedControl(f.dialog), QStringLiteral("doneButton"));

        const auto key = [&](int code) {
            QWidget* target = f.dialog.focusWidget() != nullptr ? f.dialog.focusWidget() : &f.dialog;
            QTest::keyClick(target, static_cast<Qt::Key>(code));
        };
        // Tab until `name` has the focus, as a user would look for it.
        const auto tabTo = [&](const QString& name) {
            for (int i = 0; i < 8 && focusedControl(f.dialog) != name; ++i) {
                key(Qt::Key_Tab);
            }
            QCOMPARE(focusedControl(f.dialog), name);
        };
        const auto press = [&](const char* name) {
            if (keyboard) {
                tabTo(QString::fromLatin1(name));
                key(Qt::Key_Space);
            } else {
                QTest::mouseClick(f.control<QPushButton>(name), Qt::LeftButton);
            }
        };
        for (const QString& step : steps) {
            const QString action = step.section('>', 0, 0);
            const QString focusAfter = step.section('>', 1);
            if (action == "add" || action == "add a missing file") {
                const QStringList chosen =
                    action == "add" ? files
                                    : files + QStringList{dir.filePath("c.dat")}; // its box comes mid-run
                f.chooser.answers.emplace_back(chosen);
                press("getFileButton");
                QCOMPARE(f.list()->count(), chosen.size());
            } else if (action == "choose") {
                if (keyboard) {
                    tabTo("versionChooser");
                    key(Qt::Key_Up);
                } else {
                    QComboBox* chooser = f.chooserBox();
                    QTest::mouseClick(chooser, Qt::LeftButton, {},
                                      QPoint(chooser->width() - 4, chooser->height() / 2));
                    QTRY_VERIFY(chooser->view()->isVisible());
                    // The list ignores a release quicker than a double click
                    // after it opened, as no user's hand is that fast.
                    QTest::qWait(QApplication::doubleClickInterval() + 50);
                    const QRect item = chooser->view()->visualRect(chooser->model()->index(4, 0));
                    QTest::mouseClick(chooser->view()->viewport(), Qt::LeftButton, {}, item.center());
                    QTRY_VERIFY(!chooser->view()->isVisible());
                }
                QCOMPARE(f.chooserBox()->currentIndex(), 4);
            } else if (action == "merge" || action == "fail") {
                if (action == "fail") {
                    QVERIFY(dir.mkpath("b_802.dat"));
                }
                press("mergeButton");
                QCOMPARE(f.merge()->isEnabled(), action == "fail");
                QVERIFY(f.control<QPushButton>("doneButton")->isDefault());
            } else if (action == "reset") {
                press("resetButton");
            } else if (action == "about") {
                whenModalAppears([keyboard](QWidget* box) {
                    if (keyboard) {
                        QTest::keyClick(box, Qt::Key_Escape);
                    } else {
                        QTest::mouseClick(box->findChild<QPushButton*>("aboutOkButton"), Qt::LeftButton);
                    }
                });
                if (keyboard) {
                    key(Qt::Key_F1);
                } else {
                    whenThere([] { return QApplication::activePopupWidget(); },
                              [](QWidget* popup) {
                                  auto* menu = qobject_cast<QMenu*>(popup);
                                  QTest::mouseClick(menu, Qt::LeftButton, {},
                                                    menu->actionGeometry(menu->actions().value(0)).center());
                              });
                    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(4, 4),
                                           f.dialog.mapToGlobal(QPoint(4, 4)));
                    QApplication::sendEvent(&f.dialog, &menu);
                }
                QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
            } else if (action == "tab round") {
                QSet<QString> reached;
                for (int i = 0; i < 5; ++i) {
                    key(Qt::Key_Tab);
                    reached.insert(focusedControl(f.dialog));
                }
                QCOMPARE(reached, (QSet<QString>{"doneButton", "getFileButton", "versionChooser", "fileList",
                                                 "resetButton"}));
            }
            QCOMPARE(focusedControl(f.dialog), focusAfter);
        }
        key(endKey);
        QTRY_VERIFY(!f.dialog.isVisible());
        QCOMPARE(f.dialog.result(), result);
    }

    void doneAndEscEndTheDialog() {
        for (const bool byEscape : {false, true}) {
            Fixture f;
            f.add({"/cfg/a.dat"});
            f.dialog.show();
            if (byEscape) {
                QTest::keyClick(&f.dialog, Qt::Key_Escape);
            } else {
                QTest::mouseClick(f.control<QPushButton>("doneButton"), Qt::LeftButton);
            }
            QVERIFY(!f.dialog.isVisible());
            QCOMPARE(f.dialog.result(), byEscape ? QDialog::Rejected : QDialog::Accepted);
        }
    }
};

QTEST_MAIN(ConverterDialogTest)
#include "converter_dialog_test.moc"
