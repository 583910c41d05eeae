#pragma once

#include <QDialog>

// The About box: the program's icon, its name and version and a notice, and
// "OK". "OK", Enter, Esc and the close box all end it.
class CAboutDialog : public QDialog {
public:
    explicit CAboutDialog(QWidget* parent = nullptr);
};
