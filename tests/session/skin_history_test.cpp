// The undo history's memory: states share their pictures, the oldest steps go first, a step that
// moved the document takes its origin back, and what only the history holds stays in its budget.
// Undo, redo and merging are tested through SkinSession.
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
  void Change(Edit edit) {
    const SkinDocument before = doc_;
    edit(doc_);
    history_.Record(before, doc_, {});
  }
  SkinDocument doc_;
  SkinOrigin origin_;
  SkinHistory history_;
};

// Every state in the history shares the pictures it has in common with the document.
TEST_F(SkinHistoryTest, StatesSharePicturesAndTheOldestGoFirst) {
  for (std::size_t i = 0; i < SkinHistory::kMaxSteps + 5; ++i) {
    Change([i](SkinDocument& d) { d.Field(FieldId::big_clock_x) = static_cast<int>(i); });
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
  Change([](SkinDocument& d) { d.Field(FieldId::start_button_x) = 10; });
  const SkinDocument edited_a = doc_;
  const SkinDocument before = doc_;
  doc_.Field(FieldId::start_button_x) = 99;  // skin b as opened
  SkinOrigin a = std::exchange(origin_, SkinOrigin{doc_, "/skins/b/", "b"});
  history_.RecordMove(before, doc_, std::move(a), {StepKind::kOpen, std::string("b")});
  Change([](SkinDocument& d) { d.Field(FieldId::start_button_y) = 3; });
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
    Change([i](SkinDocument& d) { d.SetSlot(SlotId::btn3, imaging::Image(100, 100, i)); });
    Change([i](SkinDocument& d) { d.Field(FieldId::big_clock_x) = i; });
  }
  // The newest seven steps hold three earlier pictures of btn3; the eighth would hold a fourth.
  EXPECT_EQ(history_.UndoCount(), 7u);

  history_ = SkinHistory(0);
  Change([](SkinDocument& d) { d.SetSlot(SlotId::btn3, imaging::Image(9, 9)); });
  Change([](SkinDocument& d) { d.SetSlot(SlotId::btn3, imaging::Image(8, 8)); });
  EXPECT_EQ(history_.UndoCount(), 1u) << "the newest step always stays";
}

// Texts are not shared between states: every step's information texts count, so that reloads of
// a settings file with a long title cannot fill the memory.
TEST_F(SkinHistoryTest, TextsOfEveryStepStayWithinTheBudget) {
  constexpr std::size_t kTitle = 100000;
  history_ = SkinHistory(10 * kTitle);
  for (int i = 0; i < 50; ++i) {
    Change([i](SkinDocument& d) { d.info.Title.assign(kTitle, static_cast<char>('a' + i % 26)); });
  }
  EXPECT_GE(history_.UndoCount(), 8u);
  EXPECT_LE(history_.UndoCount(), 10u);
}

// An undone step holds the state after it, whose texts differ from the state before it: the count
// follows each step through undo and redo, so that steps cleared from the redo side leave it
// right and later long texts are trimmed as soon as they pass the budget.
TEST_F(SkinHistoryTest, TheTextCountSurvivesUndoAndRedo) {
  constexpr std::size_t kTitle = 100000;
  history_ = SkinHistory(10 * kTitle);
  const auto title = [&](int i) {
    Change([i](SkinDocument& d) { d.info.Title.assign(kTitle, static_cast<char>('a' + i % 26)); });
  };
  for (int i = 0; i < 10; ++i) title(i);
  Change([](SkinDocument& d) { d.info.Title.clear(); });
  for (int i = 0; i < 9; ++i) {
    title(i);                                                             // holds the empty title
    history_.Undo(doc_, origin_);                                         // now holds a long one
    Change([i](SkinDocument& d) { d.Field(FieldId::big_clock_x) = i; });  // clears the redo side
  }
  for (int i = 0; i < 15; ++i) title(i);
  EXPECT_LE(history_.UndoCount(), 10u);
  EXPECT_GE(history_.UndoCount(), 8u);
}

}  // namespace
}  // namespace session
