#pragma once

#include "res/DialogTemplate.h"

#include <QDialog>
#include <QString>

#include <vector>

class DialogUnits;
class QWidget;

// Creates a dialog's controls from its template. Each control with an id is named after it (its id in
// decimal), which is how the windows and the tests find it.
class DialogBuilder
{
public:
    // The controls created, in the template's order.
    static std::vector<QWidget*> build(QDialog& dialog, const DialogTemplate& layout);

    // The dialog's own control with this id.
    template <typename T> static T* control(const QDialog& dialog, int id)
    {
        return dialog.findChild<T*>(QString::number(id), Qt::FindDirectChildrenOnly);
    }
    static QWidget* createControl(QDialog& dialog, const ControlTemplate& control, const DialogUnits& units);

    // The dialog font's units, widened where a control's text would not fit its template width with this
    // platform's font and indicators. The template's proportions stay; nothing is clipped.
    static DialogUnits unitsFor(const QDialog& dialog, const DialogTemplate& layout);
};
