#include "ContextTranslator.h"

#include "widgets/DialogBuilder.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr int IDC_NAME = 1007; // the number IDC_PLAY has in the main window: ids repeat across windows
constexpr int IDC_REPEAT = 1030;
constexpr int IDC_APPLY = 1031;
constexpr int IDC_OTHER = 1032;

const DialogTemplate& testTemplate()
{
    using namespace ControlStyle;
    static const DialogTemplate layout{
        9001,
        "IDD_WIDGET_TEST",
        "Prova",
        200,
        100,
        {
            {IDC_STATIC, nullptr, ControlKind::Static, "&Nome:", 5, 5, 40, 10, kNone},
            {IDC_NAME, "IDC_NAME", ControlKind::Edit, nullptr, 50, 5, 100, 12, kTabStop},
            {IDC_REPEAT, "IDC_REPEAT", ControlKind::CheckBox, "Ripeti", 5, 25, 40, 10, kTabStop},
            {IDC_APPLY, "IDC_APPLY", ControlKind::PushButton, "Applica", 5, 80, 50, 14, kTabStop | kDisabled},
            {IDOK, "IDOK", ControlKind::DefaultPushButton, "OK", 90, 80, 50, 14, kTabStop},
            {IDCANCEL, "IDCANCEL", ControlKind::PushButton, "Annulla", 145, 80, 50, 14, kTabStop},
        }};
    return layout;
}

TEST(DialogBuilder, EachControlIsFoundByItsIdAndNameInItsOwnWindowOnly)
{
    QDialog dialog;
    const std::vector<QWidget*> controls = DialogBuilder::build(dialog, testTemplate());
    ASSERT_EQ(controls.size(), testTemplate().controls.size());
    EXPECT_EQ(dialog.windowTitle(), "Prova");

    for (std::size_t i = 1; i < controls.size(); ++i) {
        const ControlTemplate& control = testTemplate().controls[i];
        SCOPED_TRACE(control.name);
        EXPECT_EQ(DialogBuilder::findControl(dialog, control.id), controls[i]);
        EXPECT_EQ(dialog.findChild<QWidget*>(QString::fromLatin1(control.name)), controls[i]);
    }
    EXPECT_NE(DialogBuilder::control<QLineEdit>(dialog, IDC_NAME), nullptr);
    EXPECT_EQ(DialogBuilder::control<QCheckBox>(dialog, IDC_NAME), nullptr) << "not a check box";
    EXPECT_EQ(DialogBuilder::findControl(dialog, IDC_STATIC), nullptr);
    EXPECT_EQ(qobject_cast<QLabel*>(controls[0])->text(), "&Nome:");
    EXPECT_FALSE(DialogBuilder::control<QPushButton>(dialog, IDC_APPLY)->isEnabled());

    // A window opened from this one: its controls are its own, even where the ids repeat.
    const DialogTemplate other{9002,
                               "IDD_WIDGET_OTHER",
                               "Altro",
                               100,
                               50,
                               {{IDC_REPEAT, "IDC_REPEAT", ControlKind::CheckBox, "Altro", 5, 5, 40, 10, 0},
                                {IDC_OTHER, "IDC_OTHER", ControlKind::ListBox, nullptr, 5, 20, 40, 20, 0}}};
    QDialog child(&dialog);
    DialogBuilder::build(child, other);
    EXPECT_EQ(DialogBuilder::findControl(dialog, IDC_OTHER), nullptr);
    EXPECT_NE(DialogBuilder::findControl(child, IDC_OTHER), nullptr);
    EXPECT_EQ(DialogBuilder::findControl(dialog, IDC_REPEAT), controls[2]);
    EXPECT_EQ(DialogBuilder::control<QCheckBox>(child, IDC_REPEAT)->text(), "Altro");
}

TEST(DialogBuilder, OkAndCancelEndTheWindowByTheirIdsAndEnterIsTheDefaultButtons)
{
    const auto run = [](const std::function<void(QDialog&)>& act) {
        QDialog dialog;
        DialogBuilder::build(dialog, testTemplate());
        dialog.show();
        act(dialog);
        const int result = dialog.isVisible() ? -1 : dialog.result();
        dialog.hide();
        return result;
    };
    EXPECT_EQ(run([](QDialog& d) {
                  QTest::mouseClick(DialogBuilder::control<QPushButton>(d, IDOK), Qt::LeftButton);
              }),
              QDialog::Accepted);
    EXPECT_EQ(run([](QDialog& d) {
                  QTest::mouseClick(DialogBuilder::control<QPushButton>(d, IDCANCEL), Qt::LeftButton);
              }),
              QDialog::Rejected);
    EXPECT_EQ(run([](QDialog& d) {
                  QTest::keyClick(DialogBuilder::control<QLineEdit>(d, IDC_NAME), Qt::Key_Return);
              }),
              QDialog::Accepted);
    // Another button ends nothing by itself; its window's code decides what it does.
    EXPECT_EQ(run([](QDialog& d) {
                  auto* repeat = DialogBuilder::control<QCheckBox>(d, IDC_REPEAT);
                  QTest::mouseClick(repeat, Qt::LeftButton);
                  EXPECT_TRUE(repeat->isChecked());
              }),
              -1);
}

TEST(DialogBuilder, ATranslationLongerThanItsTemplatesTextShowsWhole)
{
    QDialog dialog;
    {
        const ContextTranslator translator(
            "IDD_WIDGET_TEST", {{"Prova", QStringLiteral("Test")},
                                {"Ripeti", QStringLiteral("Ripeti il brano finché non lo si ferma")}});
        DialogBuilder::build(dialog, testTemplate());
    }

    EXPECT_EQ(dialog.windowTitle(), "Test");
    auto* repeat = DialogBuilder::control<QCheckBox>(dialog, IDC_REPEAT);
    ASSERT_EQ(repeat->text(), "Ripeti il brano finché non lo si ferma");
    // Where the style draws the text beside the box; the control is widened rather than the text clipped.
    QStyleOptionButton option;
    option.initFrom(repeat);
    option.text = repeat->text();
    const QRect text = repeat->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, repeat);
    EXPECT_GE(text.width(), repeat->fontMetrics().horizontalAdvance(repeat->text()));
    EXPECT_LE(repeat->geometry().right(), dialog.width());
}

} // namespace
