#pragma once

#include "res/DialogTemplate.h"

#include <QDialog>
#include <QString>

#include <vector>

class DialogUnits;
class QWidget;

// Creates a dialog's controls from its template. Each control with an id carries it (the property
// kControlIdProperty) and is named after its symbolic name (IDC_PLAY, ...).
class DialogBuilder
{
public:
    static constexpr const char* kControlIdProperty = "controlId";

    // The controls created, in the template's order.
    static std::vector<QWidget*> build(QDialog& dialog, const DialogTemplate& layout);

    // The window's own control with this id, as its code and the tests find it; null when it has none of
    // that kind.
    template <typename T> static T* control(const QWidget& dialog, int id)
    {
        return qobject_cast<T*>(findControl(dialog, id));
    }
    static QWidget* findControl(const QWidget& dialog, int id);
    // The control's text is translated in the context the dialog's name gives.
    static QWidget* createControl(QDialog& dialog, const DialogTemplate& layout,
                                  const ControlTemplate& control, const DialogUnits& units);
    // The template's text in the user's language: the caption, or a control's text.
    static QString translated(const DialogTemplate& layout, const char* text);

    // The dialog font's units, widened where a control's text would not fit its template width with this
    // platform's font and indicators. The template's proportions stay; nothing is clipped.
    static DialogUnits unitsFor(const QDialog& dialog, const DialogTemplate& layout);
};
