#include "app/dialog_units.h"

#include <QFontMetrics>
#include <QString>

namespace tallowbrook::app {

DialogUnits DialogUnits::forFont(const QFont& font) {
    static const QString kLetters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const QFontMetrics metrics(font);
    const int letterCount = static_cast<int>(kLetters.size());
    const int averageWidth = (metrics.horizontalAdvance(kLetters) + letterCount / 2) / letterCount;
    return {averageWidth, metrics.height()};
}

} // namespace tallowbrook::app
