// The undo history: every step back to the start and forward again, merged runs, redo cleared by a
// new change, and pictures shared by every state.
#include "skin/skin_history.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

class SkinHistoryTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetSkinDefaults(doc_); }
  // Changes `doc_` through `edit` and records the step as the editor does.
  template <typename Edit>
  void Change(const std::string& label, const std::string& key, Edit edit) {
    const SkinDocument before = doc_;
    edit(doc_);
    history_.Record(before, label, key);
  }
  SkinDocument doc_;
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
    EXPECT_TRUE(history_.Undo(doc_));
  }
  EXPECT_EQ(undone, (std::vector<std::string>{"Change Title", "Import btn3", "Change x"}));
  EXPECT_EQ(doc_, start);
  EXPECT_FALSE(history_.Undo(doc_));
  EXPECT_EQ(history_.RedoLabel(), "Change x");
  while (history_.Redo(doc_)) {
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
  history_.Undo(doc_);
  EXPECT_EQ(doc_.Field(FieldId::start_button_x), 5);
  Change("Change y", "field y", [](SkinDocument& d) { d.Field(FieldId::start_button_y) = 8; });
  EXPECT_EQ(history_.UndoCount(), 3u);
  history_.Undo(doc_);
  EXPECT_EQ(doc_.Field(FieldId::start_button_y), 7);

  history_.BreakMerge();  // as after a save
  Change("Change y", "field y", [](SkinDocument& d) { d.Field(FieldId::start_button_y) = 1; });
  EXPECT_EQ(history_.UndoCount(), 3u);
}

TEST_F(SkinHistoryTest, ANewChangeClearsWhatCouldBeRedone) {
  Change("a", "", [](SkinDocument& d) { d.Field(FieldId::big_clock_x) = 1; });
  Change("b", "", [](SkinDocument& d) { d.Field(FieldId::big_clock_x) = 2; });
  history_.Undo(doc_);
  ASSERT_TRUE(history_.CanRedo());
  Change("c", "", [](SkinDocument& d) { d.Field(FieldId::big_clock_y) = 3; });
  EXPECT_FALSE(history_.CanRedo());
  EXPECT_EQ(history_.RedoLabel(), "");
  EXPECT_FALSE(history_.Redo(doc_));
}

// Every state in the history shares the pictures it has in common with the document.
TEST_F(SkinHistoryTest, StatesSharePicturesAndTheOldestGoFirst) {
  for (std::size_t i = 0; i < SkinHistory::kMaxSteps + 5; ++i) {
    Change("step", "",
           [i](SkinDocument& d) { d.Field(FieldId::big_clock_x) = static_cast<int>(i); });
  }
  EXPECT_EQ(history_.UndoCount(), SkinHistory::kMaxSteps);
  const SkinDocument now = doc_;
  while (history_.Undo(doc_)) {
  }
  EXPECT_EQ(doc_.Field(FieldId::big_clock_x), 4) << "the first five steps were dropped";
  for (std::size_t s = 0; s < kSlotCount; ++s) EXPECT_TRUE(doc_.slots[s].SameAs(now.slots[s]));
}

}  // namespace
}  // namespace skin
