#include "widgets/MessageBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(MessageBox, RecordedBoxesKeepTheirTextsAndParentsAndQuestionsTakeTheAnswersGiven)
{
    QWidget window;
    MessageBox::setRecording(true);
    MessageBox::setNextAnswers({true, false});
    MessageBox::show(&window, QStringLiteral("primo"), MessageIcon::Warning);
    EXPECT_EQ(MessageBox::lastParent(), &window);
    EXPECT_TRUE(MessageBox::ask(nullptr, QStringLiteral("secondo"), MessageIcon::Question, "Sì"));
    EXPECT_EQ(MessageBox::lastParent(), nullptr);
    EXPECT_FALSE(MessageBox::ask(&window, QStringLiteral("terzo"), MessageIcon::Question, "Sì"));
    EXPECT_FALSE(MessageBox::ask(&window, QStringLiteral("quarto"), MessageIcon::Question, "Sì"))
        << "no answer left: declined";
    EXPECT_EQ(MessageBox::takeRecorded(), (QStringList{"primo", "secondo", "terzo", "quarto"}));
    EXPECT_TRUE(MessageBox::takeRecorded().isEmpty());

    // Recording anew forgets what an earlier test left: neither its texts nor its answers carry over.
    MessageBox::show(&window, QStringLiteral("rimasto"), MessageIcon::Information);
    MessageBox::setNextAnswers({true});
    MessageBox::setRecording(true);
    EXPECT_FALSE(MessageBox::ask(&window, QStringLiteral("nuovo"), MessageIcon::Question, "Sì"));
    EXPECT_EQ(MessageBox::takeRecorded(), QStringList{"nuovo"});
}

// Shows the box for real and lets act answer it once it is up; act gets the box.
void answerNextBox(const std::function<void(QMessageBox&)>& act)
{
    QTimer::singleShot(0, [act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        act(*box);
    });
}

TEST(MessageBox, AShownQuestionBelongsToItsWindowAndGivesBackTheCheckBoxsState)
{
    MessageBox::setRecording(false);
    const auto record = qScopeGuard([] { MessageBox::setRecording(true); });
    QWidget window;
    window.show();

    bool checked = false;
    answerNextBox([&](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), QApplication::applicationName());
        EXPECT_EQ(box.text(), "Sovrascrivere?");
        EXPECT_EQ(box.parentWidget(), &window);
        EXPECT_TRUE(box.isModal());
        auto* accept = qobject_cast<QPushButton*>(box.defaultButton());
        ASSERT_NE(accept, nullptr);
        EXPECT_EQ(accept->text(), "Sovrascrivi");
        ASSERT_NE(box.checkBox(), nullptr);
        EXPECT_EQ(box.checkBox()->text(), "Non chiedere più");
        box.checkBox()->setChecked(true);
        accept->click();
    });
    EXPECT_TRUE(MessageBox::ask(&window, QStringLiteral("Sovrascrivere?"), MessageIcon::Question,
                                QStringLiteral("Sovrascrivi"), QStringLiteral("Non chiedere più"), &checked));
    EXPECT_TRUE(checked);
    EXPECT_EQ(MessageBox::lastParent(), &window);

    // "Annulla" declines, and the check box's state comes back all the same.
    answerNextBox([](QMessageBox& box) {
        box.checkBox()->setChecked(false);
        for (QAbstractButton* button : box.buttons()) {
            if (button->text() == "Annulla") {
                button->click();
            }
        }
    });
    EXPECT_FALSE(MessageBox::ask(&window, QStringLiteral("Sovrascrivere?"), MessageIcon::Question,
                                 QStringLiteral("Sovrascrivi"), QStringLiteral("Non chiedere più"),
                                 &checked));
    EXPECT_FALSE(checked);

    bool shown = false;
    answerNextBox([&](QMessageBox& box) {
        shown = box.parentWidget() == &window && box.text() == "Fatto.";
        box.accept();
    });
    MessageBox::show(&window, QStringLiteral("Fatto."), MessageIcon::Information);
    EXPECT_TRUE(shown);
}

} // namespace
