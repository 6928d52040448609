#include "widgets/AppIcon.h"

QIcon AppIcon::icon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 128}) {
        icon.addFile(QStringLiteral(":/icons/zoffino-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}
