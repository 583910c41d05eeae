// What only the Qt dialog has: its dialog units, layout and tab order, its
// window flags, the About box's texts, the platform's message box and
// open-file dialog, and texts that fit. Its behaviour is in the dialog
// scenarios (tests/dialog), run on it by qt_driver.cpp.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextEdit>
#include <QtTest>

#include "app/about_dialog.h"
#include "app/control_ids.h"
#include "app/converter_dialog.h"
#include "app/dialog_units.h"
#include "app/merge_progress.h"
#include "dialog/dialog_layout.h"
#include "tests/gui/modal_wait.h"

using namespace tallowbrook::app;
using tallowbrook::app::test::whenModalAppears;
namespace layout = tallowbrook::dialog::layout;

namespace {

struct Fixture {
    CConverterDialog dialog;

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
};

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
        QVERIFY(f.chooserBox()->isEditable());
        QCOMPARE(f.dialog.chooserSelection(), std::optional<std::size_t>(5));
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
    // A drag of anything but local files is refused.
    void aDragOfAnythingButLocalFilesIsRefused() {
        Fixture f;
        f.dialog.show();
        QMimeData web;
        web.setUrls({QUrl("https://example.invalid/a.dat")});
        QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
        refused.setAccepted(false);
        QApplication::sendEvent(&f.dialog, &refused);
        QVERIFY(!refused.isAccepted());
    }


    void aboutOpensFromF1AndCloses() {
        Fixture f;
        f.dialog.show();
        QApplication::setActiveWindow(&f.dialog);
        QVERIFY(QTest::qWaitForWindowActive(&f.dialog));
        QString seenTitle;
        QStringList seenTexts;
        const auto closed = whenModalAppears([&](QWidget* modal) {
            seenTitle = modal->windowTitle();
            for (const QLabel* label : modal->findChildren<QLabel*>()) {
                seenTexts.append(label->text());
            }
            QTest::mouseClick(modal->findChild<QPushButton*>("aboutOkButton"), Qt::LeftButton);
        });
        QCOMPARE(f.dialog.findChild<QAction*>("aboutAction")->text(),
                 QStringLiteral("&About Tallowbrook..."));
        QTest::keyClick(&f.dialog, Qt::Key_F1);
        QVERIFY(*closed);
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
            const auto closed = whenModalAppears([&](QWidget* modal) {
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
            QVERIFY(*closed);
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
        const auto closed = whenModalAppears([&](QWidget* modal) {
            auto* chooser = qobject_cast<QFileDialog*>(modal);
            QVERIFY(chooser != nullptr);
            filters = chooser->nameFilters();
            mode = chooser->fileMode();
            offeredName = chooser->findChild<QLineEdit*>("fileNameEdit")->text();
            chooser->reject();
        });
        QVERIFY(!platformSeams().chooseFiles(&owner, "   "));
        QVERIFY(*closed);
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
};

QTEST_MAIN(ConverterDialogTest)
#include "converter_dialog_test.moc"
