#pragma once

#include <QIcon>

// The application's icon (its source is res/zoffino.svg; the PNG sizes in the resources are rendered from
// it).
class AppIcon
{
public:
    static QIcon icon();
};
