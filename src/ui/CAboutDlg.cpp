#include "ui/CAboutDlg.h"

#include "res/DialogTemplate.h"
#include "widgets/AppIcon.h"
#include "widgets/DialogBuilder.h"

#include <QLabel>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    const std::vector<QWidget*> controls = DialogBuilder::build(*this, DialogTemplate::get(IDD_ABOUTBOX));
    // The icon is the template's first control; it has no id of its own.
    auto* icon = qobject_cast<QLabel*>(controls.front());
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(AppIcon::icon().pixmap(icon->size()));
}
