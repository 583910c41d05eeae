#include "app/app_icon.h"

namespace tallowbrook::app {

QIcon appIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48}) {
        icon.addFile(QStringLiteral(":/icons/tallowbrook-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

} // namespace tallowbrook::app
