#include "app/about_dialog.h"

#include <algorithm>

#include <QLabel>
#include <QPushButton>

#include "app/app_icon.h"
#include "app/control_ids.h"
#include "app/dialog_units.h"

using tallowbrook::app::DialogUnits;

namespace {
constexpr int kIconPixels = 32; // a static icon shows the icon at its own size

// A font wider than the template's own may need more room; never cut a text.
QRect fitText(const QLabel* label, QRect area) {
    area.setWidth(std::max(area.width(), label->sizeHint().width()));
    return area;
}
} // namespace

CAboutDialog::CAboutDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("About Tallowbrook"));
    const DialogUnits units = DialogUnits::forFont(font());

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("aboutIcon"));
    icon->setPixmap(tallowbrook::app::appIcon().pixmap(kIconPixels, kIconPixels));
    icon->setGeometry(QRect(units.toPixels(9, 10, 20, 20).topLeft(), QSize(kIconPixels, kIconPixels)));

    auto* name = new QLabel(QStringLiteral("Tallowbrook Version 5.0 Beta"), this);
    name->setObjectName(QStringLiteral("aboutName"));
    name->setTextFormat(Qt::PlainText);
    name->setGeometry(fitText(name, units.toPixels(40, 10, 119, 8)));

    auto* notice = new QLabel(QStringLiteral("(C) The Tallowbrook authors"), this);
    notice->setObjectName(QStringLiteral("aboutNotice"));
    notice->setTextFormat(Qt::PlainText);
    notice->setGeometry(fitText(notice, units.toPixels(40, 25, 119, 8)));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("aboutOkButton"));
    ok->setProperty(tallowbrook::app::kControlIdProperty, tallowbrook::app::kIdDone);
    ok->setDefault(true);
    ok->setGeometry(units.toPixels(178, 7, 50, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    ok->setFocus();

    setFixedSize(units.toPixelsX(235), units.toPixelsY(55));
}
