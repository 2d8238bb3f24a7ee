// The undo history: every step back to the start and forward again, merged runs, redo cleared by a
// new change, and pictures shared by every state.
#include "session/skin_history.h"

#include <gtest/gtest.h>

#include <utility>

namespace session {
using namespace skin;
namespace {

class SkinHistoryTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetSkinDefaults(doc_); }
  // Changes `doc_` through `edit` and records the step as the editor does.
  template <typename Edit>
  void Change(const std::string& label, const std::string& key, Edit edit) {
    const SkinDocument before = doc_;
    edit(doc_);
    history_.Record(before, doc_, label, key);
  }
  SkinDocument doc_;
  SkinOrigin origin_;
  SkinHistory history_;
};

TEST_F(SkinHistoryTest, UndoesEveryStepToTheStartAndRedoesThemAgain) {
  const SkinDocument start = doc_;
  Change("Change x", "x", [](SkinDocument& d) { d.Field(FieldId::start_button_x) = 10; });
  Change("Import btn3", "", [](SkinDocument& d) { d.SetSlot(SlotId::btn3, imaging::Image(3, 3)); });
  Change("Change Title", "title", [](SkinDocument& d) { d.info.Title = "Blue"; });
  const SkinDocument end = doc_;
  EXPECT_EQ(history_.UndoLabel(), "Change Title");
  EXPECT_FALSE(history_.CanRedo());

  std::vector<std::string> undone;
  while (history_.CanUndo()) {
    undone.push_back(history_.UndoLabel());
    EXPECT_TRUE(history_.Undo(doc_, origin_));
  }
  EXPECT_EQ(undone, (std::vector<std::string>{"Change Title", "Import btn3", "Change x"}));
  EXPECT_EQ(doc_, start);
  EXPECT_FALSE(history_.Undo(doc_, origin_));
  EXPECT_EQ(history_.RedoLabel(), "Change x");
  while (history_.Redo(doc_, origin_)) {
  }
  EXPECT_EQ(doc_, end);
  EXPECT_EQ(history_.UndoCount(), 3u);
}

TEST_F(SkinHistoryTest, ARunOfOneFieldIsOneStepUntilSomethingElseComesBetween) {
  for (int x = 1; x <= 5; ++x) {
    Change("Change x", "field x", [x](SkinDocument& d) { d.Field(FieldId::start_button_x) = x; });
  }
  EXPECT_EQ(history_.UndoCount(), 1u);
  Change("Change y", "field y", [](SkinDocument& d) { d.Field(FieldId::start_button_y) = 7; });
  Change("Change x", "field x", [](SkinDocument& d) { d.Field(FieldId::start_button_x) = 9; });
  EXPECT_EQ(history_.UndoCount(), 3u);

  // After an undo the next change of the same field starts a step of its own.
  history_.Undo(doc_, origin_);
  EXPECT_EQ(doc_.Field(FieldId::start_button_x), 5);
  Change("Change y", "field y", [](SkinDocument& d) { d.Field(FieldId::start_button_y) = 8; });
  EXPECT_EQ(history_.UndoCount(), 3u);
  history_.Undo(doc_, origin_);
  EXPECT_EQ(doc_.Field(FieldId::start_button_y), 7);

  history_.BreakMerge();  // as after a save
  Change("Change y", "field y", [](SkinDocument& d) { d.Field(FieldId::start_button_y) = 1; });
  EXPECT_EQ(history_.UndoCount(), 3u);
}

TEST_F(SkinHistoryTest, ANewChangeClearsWhatCouldBeRedone) {
  Change("a", "", [](SkinDocument& d) { d.Field(FieldId::big_clock_x) = 1; });
  Change("b", "", [](SkinDocument& d) { d.Field(FieldId::big_clock_x) = 2; });
  history_.Undo(doc_, origin_);
  ASSERT_TRUE(history_.CanRedo());
  Change("c", "", [](SkinDocument& d) { d.Field(FieldId::big_clock_y) = 3; });
  EXPECT_FALSE(history_.CanRedo());
  EXPECT_EQ(history_.RedoLabel(), "");
  EXPECT_FALSE(history_.Redo(doc_, origin_));
}

// Every state in the history shares the pictures it has in common with the document.
TEST_F(SkinHistoryTest, StatesSharePicturesAndTheOldestGoFirst) {
  for (std::size_t i = 0; i < SkinHistory::kMaxSteps + 5; ++i) {
    Change("step", "",
           [i](SkinDocument& d) { d.Field(FieldId::big_clock_x) = static_cast<int>(i); });
  }
  EXPECT_EQ(history_.UndoCount(), SkinHistory::kMaxSteps);
  const SkinDocument now = doc_;
  while (history_.Undo(doc_, origin_)) {
  }
  EXPECT_EQ(doc_.Field(FieldId::big_clock_x), 4) << "the first five steps were dropped";
  for (std::size_t s = 0; s < kSlotCount; ++s) EXPECT_TRUE(doc_.slots[s].SameAs(now.slots[s]));
}

// Opening a skin moves the document to another origin; undo takes the origin back with it, also
// after a save changed the origin in place.
TEST_F(SkinHistoryTest, AStepThatMovedTheDocumentTakesItsOriginBack) {
  origin_ = {doc_, "/skins/a/", "a"};
  Change("Change x", "", [](SkinDocument& d) { d.Field(FieldId::start_button_x) = 10; });
  const SkinDocument edited_a = doc_;
  const SkinDocument before = doc_;
  doc_.Field(FieldId::start_button_x) = 99;  // skin b as opened
  SkinOrigin a = std::exchange(origin_, SkinOrigin{doc_, "/skins/b/", "b"});
  history_.RecordMove(before, doc_, std::move(a), "Open b");
  Change("Change y", "", [](SkinDocument& d) { d.Field(FieldId::start_button_y) = 3; });
  origin_.saved = doc_;  // b saved
  const SkinDocument saved_b = doc_;

  history_.Undo(doc_, origin_);
  EXPECT_EQ(origin_.folder, "/skins/b/") << "an ordinary step leaves the origin";
  history_.Undo(doc_, origin_);
  EXPECT_EQ(doc_, edited_a);
  EXPECT_EQ(origin_.folder, "/skins/a/");
  EXPECT_EQ(origin_.name, "a");
  EXPECT_NE(origin_.saved, edited_a) << "a's change was never saved";
  history_.Redo(doc_, origin_);
  EXPECT_EQ(origin_.folder, "/skins/b/");
  EXPECT_EQ(origin_.saved, saved_b) << "b as it was saved, not as it was opened";
}

// Pictures that only earlier states hold count against the budget; those the document has, and
// steps that bring no picture, cost nothing.
TEST_F(SkinHistoryTest, PicturesOnlyTheHistoryHoldsStayWithinItsBudget) {
  constexpr std::uint64_t kPicture = 100 * 100 * sizeof(imaging::Rgb);
  history_ = SkinHistory(3 * kPicture);
  for (int i = 0; i < 10; ++i) {
    Change("Import btn3", "",
           [i](SkinDocument& d) { d.SetSlot(SlotId::btn3, imaging::Image(100, 100, i)); });
    Change("Change x", "", [i](SkinDocument& d) { d.Field(FieldId::big_clock_x) = i; });
  }
  // The newest seven steps hold three earlier pictures of btn3; the eighth would hold a fourth.
  EXPECT_EQ(history_.UndoCount(), 7u);

  history_ = SkinHistory(0);
  Change("Import btn3", "", [](SkinDocument& d) { d.SetSlot(SlotId::btn3, imaging::Image(9, 9)); });
  Change("Import btn3", "", [](SkinDocument& d) { d.SetSlot(SlotId::btn3, imaging::Image(8, 8)); });
  EXPECT_EQ(history_.UndoCount(), 1u) << "the newest step always stays";
}

}  // namespace
}  // namespace session
