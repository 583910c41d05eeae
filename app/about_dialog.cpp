#include "app/about_dialog.h"

#include <algorithm>

#include <QLabel>
#include <QPushButton>

#include "app/app_icon.h"
#include "app/control_ids.h"
#include "app/dialog_units.h"
#include "app/window_flags.h"

using tallowbrook::app::DialogUnits;
namespace layout = tallowbrook::dialog::layout;

namespace {
constexpr int kIconPixels = 32; // a static icon shows the icon at its own size

// A font wider than the template's own may need more room; never cut a text.
QRect fitText(const QLabel* label, QRect area) {
    area.setWidth(std::max(area.width(), label->sizeHint().width()));
    return area;
}
} // namespace

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent, tallowbrook::app::kDialogWindowFlags) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral(TB_TEXT_ABOUT_CAPTION));
    const DialogUnits units = DialogUnits::forFont(font());

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("aboutIcon"));
    icon->setPixmap(tallowbrook::app::appIcon().pixmap(kIconPixels, kIconPixels));
    icon->setGeometry(QRect(units.toPixels(layout::kAboutIcon).topLeft(), QSize(kIconPixels, kIconPixels)));

    auto* name = new QLabel(QStringLiteral(TB_TEXT_ABOUT_NAME), this);
    name->setObjectName(QStringLiteral("aboutName"));
    name->setTextFormat(Qt::PlainText);
    name->setGeometry(fitText(name, units.toPixels(layout::kAboutName)));

    auto* notice = new QLabel(QStringLiteral(TB_TEXT_ABOUT_NOTICE), this);
    notice->setObjectName(QStringLiteral("aboutNotice"));
    notice->setTextFormat(Qt::PlainText);
    notice->setGeometry(fitText(notice, units.toPixels(layout::kAboutNotice)));

    auto* ok = new QPushButton(QStringLiteral(TB_TEXT_ABOUT_OK), this);
    ok->setObjectName(QStringLiteral("aboutOkButton"));
    ok->setProperty(tallowbrook::app::kControlIdProperty, IDC_DONE);
    ok->setDefault(true);
    ok->setGeometry(units.toPixels(layout::kAboutOk));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    ok->setFocus();

    setFixedSize(units.toPixels(layout::kAbout));
}
