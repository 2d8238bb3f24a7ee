// The Check tab: the findings follow the skin, a click on one shows its screen, its place and the
// gadget that edits it, and each quick fix is one step.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "shell_fixture.h"

namespace app {
namespace {

using session::CheckCode;
using skin::ColourId;
using skin::FieldId;

class CheckPanelTest : public ShellTest {
 protected:
  // The row of the first finding of `code` on the Check tab, or -1.
  int RowOf(CheckCode code) {
    const std::vector<session::Finding>& findings = window().check()->findings();
    for (std::size_t i = 0; i < findings.size(); ++i) {
      if (findings[i].code == code) return static_cast<int>(i);
    }
    return -1;
  }
  void Click(int row) {
    QListWidget* list = window().check()->list();
    window().panel()->setCurrentWidget(window().check());
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
  }
  QString UndoText() { return WithoutMnemonic(window().MenuItem(kMenuUndo)->text()); }
};

TEST_F(CheckPanelTest, AFindingLeadsToItsGadgetAndItsQuickFixIsOneStep) {
  // The built-in skin has two texts that read poorly and nothing worse.
  EXPECT_EQ(window().CheckCountText(), "0 errors, 2 warnings");
  const int legibility = RowOf(CheckCode::kLegibility);
  ASSERT_GE(legibility, 0);
  const session::Finding poor = window().check()->findings()[legibility];
  const QString shown = window().check()->list()->item(legibility)->text();
  EXPECT_NE(shown.indexOf(QStringLiteral("screen %1").arg(poor.screens._Find_first() + 1)), -1)
      << "numbered as the screen buttons are: " << shown.toStdString();
  // A click shows the screen and frames the place, and the tab stays for the quick fix.
  Click(legibility);
  EXPECT_TRUE(poor.screens[static_cast<std::size_t>(shell_->state().selected_screen)]);
  EXPECT_TRUE(window().preview()->mark().has_value()) << "its place is framed";
  EXPECT_EQ(window().panel()->currentWidget(), window().check());
  QPushButton* fix = window().check()->fix_button();
  EXPECT_TRUE(fix->isVisibleTo(window().check()));
  // A double click goes on to the gadget that edits it.
  QListWidget* list = window().check()->list();
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                     list->visualItemRect(list->item(legibility)).center());
  EXPECT_EQ(window().panel()->highlighted(),
            GadgetOf(*poor.colour, shell_->state().selected_screen));
  EXPECT_NE(window().panel()->currentWidget(), window().check());
  EXPECT_FALSE(window().preview()->mark().has_value()) << "the frame goes with the tab";

  window().panel()->setCurrentWidget(window().check());
  list->setCurrentRow(legibility);
  EXPECT_EQ(fix->text(), "Use the nearest legible colour");
  const imaging::Rgb before = doc().Colour(*poor.colour);
  fix->click();
  EXPECT_NE(doc().Colour(*poor.colour), before);
  EXPECT_EQ(UndoText().toStdString(), "Undo Change " + std::string(skin::Info(*poor.colour).key));
  EXPECT_EQ(window().check()->findings().size(), 1u) << "that text reads well now";
  EXPECT_EQ(list->currentRow(), 0) << "the next finding is chosen";
  EXPECT_TRUE(window().preview()->mark().has_value()) << "and shown";

  // A value its field cannot show: the fix takes the nearest value at which the button is whole,
  // the same edit the core works out; Enter leads to the field.
  shell_->EditField(FieldId::start_button_x, 300);
  EXPECT_FALSE(window().preview()->mark().has_value()) << "the skin changed";
  QTest::qWait(400);  // the check runs once the edits pause
  const int odd = RowOf(CheckCode::kOutOfRange);
  ASSERT_GE(odd, 0);
  const session::Finding finding = window().check()->findings()[odd];
  Click(odd);
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), Field(FieldId::start_button_x));
  window().panel()->setCurrentWidget(window().check());
  list->setCurrentRow(RowOf(CheckCode::kOutOfRange));
  EXPECT_EQ(fix->text(), "Set the nearest value the field can show");
  const std::optional<session::QuickFix> edit = session::QuickFixOf(doc(), finding);
  ASSERT_TRUE(edit);
  fix->click();
  EXPECT_EQ(doc().Field(FieldId::start_button_x), edit->fields.at(0).value);
  EXPECT_LT(doc().Field(FieldId::start_button_x), 255);
  window().MenuItem(kMenuUndo)->trigger();
  EXPECT_EQ(doc().Field(FieldId::start_button_x), 300) << "the fix was one step";
}

// One error and one warning are counted in the singular.
TEST_F(CheckPanelTest, CountsReadInTheSingular) {
  shell_->EditField(FieldId::big_clock_x, 255);
  shell_->check().Run();
  EXPECT_EQ(window().CheckCountText().toStdString(), "1 error, 2 warnings");
  session_.SetColour(ColourId::spinBoxTextColor, imaging::MakeRgb(208, 208, 208));
  shell_->check().Run();
  EXPECT_EQ(window().CheckCountText().toStdString(), "1 error, 1 warning");
}

}  // namespace
}  // namespace app
