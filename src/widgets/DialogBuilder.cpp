#include "widgets/DialogBuilder.h"

#include "widgets/DialogUnits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

std::vector<QWidget*> DialogBuilder::build(QDialog& dialog, const DialogTemplate& layout)
{
    const DialogUnits units = unitsFor(dialog, layout);
    dialog.setWindowTitle(translated(layout, layout.caption));
    // A caption with the system menu and its close box; no resizing, as the controls sit at fixed places.
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog.setFixedSize(units.size(layout.cx, layout.cy));
    std::vector<QWidget*> controls;
    for (const ControlTemplate& control : layout.controls) {
        controls.push_back(createControl(dialog, layout, control, units));
    }
    return controls;
}

DialogUnits DialogBuilder::unitsFor(const QDialog& dialog, const DialogTemplate& layout)
{
    const DialogUnits fontUnits(dialog.font());
    const QFontMetrics metrics(dialog.font());
    const QStyle* style = dialog.style();
    int baseX = fontUnits.baseX();
    for (const ControlTemplate& control : layout.controls) {
        // Measured as shown: a translation may be longer than the template's text.
        QString text = translated(layout, control.text);
        if (!(control.style & ControlStyle::kNoPrefix)) {
            text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
        }
        int needed = metrics.horizontalAdvance(text);
        switch (control.kind) {
        case ControlKind::PushButton:
        case ControlKind::DefaultPushButton:
            needed += 2 * style->pixelMetric(QStyle::PM_ButtonMargin);
            break;
        case ControlKind::CheckBox:
        case ControlKind::RadioButton: {
            // As wide as the box asks to be: its indicator, the spacing and the room its focus frame takes
            // around the text.
            QStyleOptionButton option;
            option.initFrom(&dialog);
            option.text = text;
            needed = style
                         ->sizeFromContents(control.kind == ControlKind::CheckBox ? QStyle::CT_CheckBox
                                                                                  : QStyle::CT_RadioButton,
                                            &option, QSize(needed, metrics.height()), nullptr)
                         .width();
            break;
        }
        case ControlKind::GroupBox:
            needed += 2 * metrics.averageCharWidth();
            break;
        case ControlKind::Static:
            // A line of the static's own text; a sunken field is filled at run time and wraps.
            if (control.style & ControlStyle::kSunken) {
                needed = 0;
            }
            break;
        default:
            needed = 0;
            break;
        }
        if (needed > 0 && control.cx > 0) {
            baseX = std::max(baseX, (needed * 4 + control.cx - 1) / control.cx);
        }
    }
    return DialogUnits(baseX, fontUnits.baseY());
}

QString DialogBuilder::translated(const DialogTemplate& layout, const char* text)
{
    if (!text || !*text) {
        return {};
    }
    return QCoreApplication::translate(layout.name, text);
}

QWidget* DialogBuilder::createControl(QDialog& dialog, const DialogTemplate& layout,
                                      const ControlTemplate& control, const DialogUnits& units)
{
    using namespace ControlStyle;
    const QString text = translated(layout, control.text);
    QWidget* widget = nullptr;
    switch (control.kind) {
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton: {
        auto* button = new QPushButton(text, &dialog);
        // Only the template's default button answers the Enter key.
        button->setAutoDefault(false);
        button->setDefault(control.kind == ControlKind::DefaultPushButton);
        // The OK and Cancel commands end a dialog by their ids, whatever the button says.
        if (control.id == IDOK) {
            QObject::connect(button, &QPushButton::clicked, &dialog, &QDialog::accept);
        } else if (control.id == IDCANCEL) {
            QObject::connect(button, &QPushButton::clicked, &dialog, &QDialog::reject);
        }
        widget = button;
        break;
    }
    case ControlKind::Static: {
        auto* label = new QLabel(&dialog);
        label->setTextFormat(Qt::PlainText);
        label->setText(text);
        label->setAlignment((control.style & kCentered ? Qt::AlignHCenter : Qt::AlignLeft) |
                            Qt::AlignVCenter);
        if (control.style & kSunken) {
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        }
        widget = label;
        break;
    }
    case ControlKind::Icon:
        widget = new QLabel(&dialog);
        break;
    case ControlKind::GroupBox: {
        auto* group = new QGroupBox(text, &dialog);
        group->setFocusPolicy(Qt::NoFocus);
        widget = group;
        break;
    }
    case ControlKind::Edit:
        if (control.style & kMultiLine) {
            auto* edit = new QPlainTextEdit(&dialog);
            edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            edit->setTabChangesFocus(true);
            widget = edit;
        } else {
            widget = new QLineEdit(&dialog);
        }
        break;
    case ControlKind::ListBox:
        widget = new QListWidget(&dialog);
        break;
    case ControlKind::ComboBox: {
        auto* combo = new QComboBox(&dialog);
        if (control.text && *control.text) {
            combo->addItem(text);
        }
        widget = combo;
        break;
    }
    case ControlKind::CheckBox:
        widget = new QCheckBox(text, &dialog);
        break;
    case ControlKind::RadioButton:
        widget = new QRadioButton(text, &dialog);
        break;
    case ControlKind::ProgressBar: {
        auto* bar = new QProgressBar(&dialog);
        bar->setTextVisible(false);
        widget = bar;
        break;
    }
    }

    QRect geometry = units.rect(control.x, control.y, control.cx, control.cy);
    // A combo box's template height is that of its dropped list; the closed box keeps its natural height.
    if (control.kind == ControlKind::ComboBox) {
        geometry.setHeight(widget->sizeHint().height());
    }
    widget->setGeometry(geometry);
    if (control.id != IDC_STATIC) {
        widget->setObjectName(QString::fromLatin1(control.name));
        widget->setProperty(kControlIdProperty, control.id);
    }
    if (control.style & kDisabled) {
        widget->setEnabled(false);
    }
    if (!(control.style & kTabStop) && control.kind != ControlKind::Static &&
        control.kind != ControlKind::Icon) {
        widget->setFocusPolicy(Qt::ClickFocus);
    }
    if (control.kind == ControlKind::GroupBox) {
        widget->lower();
    }
    return widget;
}

QWidget* DialogBuilder::findControl(const QWidget& dialog, int id)
{
    for (QWidget* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (const QVariant value = child->property(kControlIdProperty);
            value.isValid() && value.toInt() == id) {
            return child;
        }
    }
    return nullptr;
}
