// The dialog scenarios' driver over the Qt dialog: clicks, keys and drops as
// the user's, the open-file dialog and the boxes answered through the
// dialog's seams (or the platform's own boxes, closed as a user would).

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QToolTip>
#include <QtTest>

#include "app/control_ids.h"
#include "app/converter_dialog.h"
#include "tests/dialog/scenario_driver.h"
#include "tests/gui/modal_wait.h"
#include "tests/support/scripted_chooser.h"

namespace tallowbrook::dialog::test {
namespace {

using app::MessageRequest;
using app::test::whenModalAppears;
using app::test::whenThere;

Control idOf(const QWidget* widget) {
    return static_cast<Control>(widget->property(app::kControlIdProperty).toInt());
}

class QtDialog final : public WindowDriver {
public:
    void click(Control button) override { QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton); }
    void answerOpenFile(std::optional<Paths> chosen) override { m_files.queue(std::move(chosen)); }
    Paths offeredNames() override { return m_files.offered; }

    void drop(const Paths& paths) override {
        QMimeData files;
        QList<QUrl> urls;
        for (const std::string& path : paths) {
            urls.append(QUrl::fromLocalFile(QString::fromStdString(path)));
        }
        files.setUrls(urls);
        m_dialog.show();
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&m_dialog, &enter);
        EXPECT_TRUE(enter.isAccepted());
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

    Paths listed() override {
        Paths texts;
        auto* list = control<QListWidget>(Control::List);
        for (int row = 0; row < list->count(); ++row) {
            texts.push_back(list->item(row)->text().toStdString());
        }
        return texts;
    }
    Paths chooserLabels() override {
        Paths labels;
        for (int i = 0; i < chooser()->count(); ++i) {
            labels.push_back(chooser()->itemText(i).toStdString());
        }
        return labels;
    }
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
        QWidget* target = m_dialog.focusWidget() != nullptr ? m_dialog.focusWidget() : &m_dialog;
        QTest::keyClick(target, kKeys[static_cast<int>(key)]);
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
        for (const QPushButton* button : m_dialog.findChildren<QPushButton*>()) {
            if (button->isDefault()) {
                return idOf(button);
            }
        }
        return Control::None;
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
            QTest::keyClick(m_dialog.focusWidget() != nullptr ? m_dialog.focusWidget() : &m_dialog, Qt::Key_F1);
        } else {
            whenThere([] { return QApplication::activePopupWidget(); },
                      [](QWidget* popup) {
                          auto* menu = qobject_cast<QMenu*>(popup);
                          QTest::mouseClick(menu, Qt::LeftButton, {},
                                            menu->actionGeometry(menu->actions().value(0)).center());
                      });
            QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(4, 4), m_dialog.mapToGlobal(QPoint(4, 4)));
            QApplication::sendEvent(&m_dialog, &menu);
        }
        EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() == nullptr; }));
        return *closed;
    }
    void closeBox() override { m_dialog.close(); }
    std::optional<bool> waitForEnd() override {
        if (!QTest::qWaitFor([this] { return !m_dialog.isVisible(); })) {
            return std::nullopt;
        }
        return m_dialog.result() == QDialog::Accepted;
    }

private:
    template <typename T> T* control(Control which) {
        for (QWidget* widget : m_dialog.findChildren<QWidget*>()) {
            if (idOf(widget) == which) {
                return qobject_cast<T*>(widget);
            }
        }
        qFatal("no control %d", static_cast<int>(which));
    }
    QComboBox* chooser() { return control<QComboBox>(Control::Chooser); }

    std::optional<QStringList> answer(const QString& initialName) {
        const std::optional<Paths> chosen = m_files.next(initialName.toStdString());
        if (!chosen) {
            return std::nullopt;
        }
        QStringList paths;
        for (const std::string& path : *chosen) {
            paths.append(QString::fromStdString(path));
        }
        return paths;
    }

    void record(QWidget* owner, const MessageRequest& request) {
        EXPECT_EQ(owner, &m_dialog) << "a box owned by the dialog";
        const auto* progress = owner->findChild<QProgressDialog*>("mergeProgress");
        m_boxes.push_back({request.caption.toStdString(), request.text.toStdString(), request.details.toStdString(),
                           request.icon == QMessageBox::Critical, busy(),
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
        app::platformSeams().showMessage(owner, request);
        EXPECT_TRUE(*closed) << "the box came up and was closed";
    }

    tallowbrook::test::ScriptedChooser<std::string> m_files;
    std::vector<Box> m_boxes;
    std::optional<bool> m_realBoxesByKeyboard;
    CConverterDialog m_dialog{app::UiSeams{
        [this](QWidget*, const QString& initialName) { return answer(initialName); },
        [this](QWidget* owner, const MessageRequest& request) { record(owner, request); }}};
};

} // namespace

std::unique_ptr<ScenarioDriver> makeDriver() {
    return std::make_unique<QtDialog>();
}
std::unique_ptr<WindowDriver> makeWindowDriver() {
    return std::make_unique<QtDialog>();
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
