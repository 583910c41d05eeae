// Times the Qt dialog as a user drives it: a Merge from the press of the real
// "Merge" button to the real summary box on screen, and an Add from the open-
// file dialog's answer to the drawn list. bench/run_desktop.sh compares the
// Merge with tallowbrook-cli on the same files.
//
//   tallowbrook_bench_desktop_qt merge FOLDER COUNT     (files from tallowbrook_bench_merge generate)
//   tallowbrook_bench_desktop_qt add COUNT ascending|descending|shuffled
// Prints one line: what, count, seconds.

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>

#include "app/converter_dialog.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4 || (args[1] != "merge" && args[1] != "add")) {
        std::fprintf(stderr, "usage: %s merge FOLDER COUNT | add COUNT ascending|descending|shuffled\n",
                     argv[0]);
        return 2;
    }
    const bool merge = args[1] == "merge";
    const int count = (merge ? args[3] : args[2]).toInt();
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        paths.append(
            merge ? QDir::toNativeSeparators(QDir(args[2]).filePath(QStringLiteral("settings%1.dat").arg(i)))
                  : QStringLiteral("/home/someone/engraver/settings/cfg%1.dat")
                        .arg(i, 6, 10, QLatin1Char('0')));
    }
    if (!merge && args[3] == "descending") {
        std::reverse(paths.begin(), paths.end());
    } else if (!merge && args[3] == "shuffled") {
        std::shuffle(paths.begin(), paths.end(), std::mt19937(15));
    }

    Clock::time_point boxUp{};
    tallowbrook::app::UiSeams seams{
        [&](QWidget*, const QString&) { return std::optional<QStringList>(paths); },
        [&](QWidget* owner, const tallowbrook::app::MessageRequest& request) {
            // Runs once the box's own loop does, that is once it is up.
            QTimer::singleShot(0, [&] {
                boxUp = Clock::now();
                if (QWidget* box = QApplication::activeModalWidget()) {
                    box->close();
                }
            });
            tallowbrook::app::platformSeams().showMessage(owner, request);
        }};
    CConverterDialog dialog(seams);
    dialog.show();
    QCoreApplication::processEvents();

    if (merge) {
        dialog.findChild<QPushButton*>("getFileButton")->click();
        QCoreApplication::processEvents();
        const Clock::time_point pressed = Clock::now();
        dialog.findChild<QPushButton*>("mergeButton")->click();
        std::printf("gui-merge %d %.4f\n", count, seconds(pressed, boxUp));
    } else {
        const Clock::time_point pressed = Clock::now();
        dialog.findChild<QPushButton*>("getFileButton")->click();
        dialog.repaint(); // the list drawn, as the user sees it
        std::printf("add-%s %d %.4f\n", qPrintable(args[3]), count, seconds(pressed, Clock::now()));
    }
    return 0;
}
