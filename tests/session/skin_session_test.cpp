// The editing session: every kind of step undoes and redoes, runs merge, no-ops make no step, and
// the modified mark follows edits, undo, save, export and reloads from disk.
#include "session/skin_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "base/paths.h"
#include "imaging/bmp16.h"
#include "imaging/png_codec.h"
#include "preview/contact_sheet.h"
#include "test_support.h"

namespace session {
namespace {

using skin::ColourId;
using skin::FieldId;
using skin::InfoId;
using skin::SlotId;
namespace fs = std::filesystem;

class SkinSessionTest : public ::testing::Test {
 public:
  skin::SaveOptions SaveOptions() const {
    skin::SaveOptions options;
    options.last_update = "2026/01/02-03:04:05";
    options.texts = testing_support::EnglishMessages();
    return options;
  }
  // Saves the session's skin into `name` under the temporary folder; its path with a separator.
  std::string SaveTo(const std::string& name) {
    const std::string folder = (dir_.path() / name).string() + "/";
    fs::create_directories(folder);
    EXPECT_TRUE(session_.Save(folder, SaveOptions(), feedback_).complete);
    return folder;
  }
  static void WritePicture(const std::string& path, const imaging::Image& picture) {
    const std::vector<std::uint8_t> bytes = imaging::EncodeBmp16(picture);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  static void RewriteAuthor(const std::string& folder, const std::string& author) {
    std::string text = testing_support::ReadFileText(folder + "uisettings.ini");
    const std::size_t at = text.find("Author=");
    text.replace(at, text.find('\r', at) - at, "Author=" + author);
    std::ofstream(folder + "uisettings.ini", std::ios::binary | std::ios::trunc) << text;
  }
  skin::Feedback& feedback() { return feedback_; }

  testing_support::TempDir dir_;
  testing_support::RecordingFeedback feedback_;
  SkinSession session_;
};

// One edit of each kind: what it does, the step's name, and what it reports as changed.
struct EditCase {
  const char* name;
  std::function<Changes(SkinSession&, SkinSessionTest&)> edit;
  StepLabel label;
  bool fields, colours, info, slot_btn3, origin;
};

class EveryStep : public SkinSessionTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(EveryStep, UndoesToTheStateBeforeAndRedoesToTheStateAfter) {
  const skin::SkinDocument start = session_.document();
  const Changes changes = GetParam().edit(session_, *this);
  const skin::SkinDocument after = session_.document();
  ASSERT_NE(after, start);
  EXPECT_EQ(changes.fields.any(), GetParam().fields);
  EXPECT_EQ(changes.colours.any(), GetParam().colours);
  EXPECT_EQ(changes.info.any(), GetParam().info);
  EXPECT_EQ(changes.slots[skin::Index(SlotId::btn3)], GetParam().slot_btn3);
  EXPECT_EQ(changes.origin, GetParam().origin);
  ASSERT_NE(session_.history().UndoLabel(), nullptr);
  EXPECT_EQ(*session_.history().UndoLabel(), GetParam().label);

  const std::string folder_after = session_.folder();
  const Changes undone = session_.Undo();
  EXPECT_EQ(session_.document(), start);
  EXPECT_EQ(session_.folder(), "");
  EXPECT_EQ(undone.Document(), true);
  EXPECT_FALSE(session_.Modified());
  EXPECT_EQ(*session_.history().RedoLabel(), GetParam().label);
  session_.Redo();
  EXPECT_EQ(session_.document(), after);
  EXPECT_EQ(session_.folder(), folder_after);
  EXPECT_TRUE(session_.Undo().Any());
  EXPECT_FALSE(session_.Undo().Any()) << "one step only";
}

const imaging::Image kBlue(3, 2, imaging::MakeRgb(0, 0, 248));

INSTANTIATE_TEST_SUITE_P(
    SkinSession, EveryStep,
    ::testing::Values(
        EditCase{"Field",
                 [](SkinSession& s, auto&) { return s.SetField(FieldId::big_clock_x, 7); },
                 {StepKind::kChange, FieldId::big_clock_x},
                 true,
                 false,
                 false,
                 false,
                 false},
        EditCase{"Colour",
                 [](SkinSession& s, auto&) { return s.SetColour(ColourId::formTextColor, 0x123); },
                 {StepKind::kChange, ColourId::formTextColor},
                 false,
                 true,
                 false,
                 false,
                 false},
        EditCase{"Info",
                 [](SkinSession& s, auto&) { return s.SetInfo(InfoId::Url, "x.org"); },
                 {StepKind::kChange, InfoId::Url},
                 false,
                 false,
                 true,
                 false,
                 false},
        EditCase{"Drag",
                 [](SkinSession& s, auto&) {
                   const SkinSession::FieldValue moved[] = {{FieldId::start_button_x, 1},
                                                            {FieldId::start_button_y, 2}};
                   return s.SetFields(moved, {StepKind::kMove, skin::SectionId::start_button},
                                      Gesture{1});
                 },
                 {StepKind::kMove, skin::SectionId::start_button},
                 true,
                 false,
                 false,
                 false,
                 false},
        EditCase{"FixPlace",
                 [](SkinSession& s, auto&) {
                   QuickFix fix;
                   fix.fields = {{FieldId::big_clock_x, 150}};
                   fix.moves = skin::SectionId::big_clock;
                   return s.ApplyFix(fix);
                 },
                 {StepKind::kMove, skin::SectionId::big_clock},
                 true,
                 false,
                 false,
                 false,
                 false},
        EditCase{"FixColour",
                 [](SkinSession& s, auto&) {
                   QuickFix fix;
                   fix.colour = {ColourId::formTextColor, 0xF8F8F8};
                   return s.ApplyFix(fix);
                 },
                 {StepKind::kChange, ColourId::formTextColor},
                 false,
                 true,
                 false,
                 false,
                 false},
        EditCase{"Import",
                 [](SkinSession& s, SkinSessionTest& t) {
                   const std::string path = (t.dir_.path() / "blue.bmp").string();
                   t.WritePicture(path, kBlue);
                   return s
                       .Import(SlotId::btn3, path, testing_support::EnglishMessages(), t.feedback())
                       .changes;
                 },
                 {StepKind::kImport, SlotId::btn3},
                 false,
                 false,
                 false,
                 true,
                 false},
        EditCase{"Open",
                 [](SkinSession& s, SkinSessionTest& t) {
                   SkinSession other;
                   other.SetField(FieldId::big_clock_x, 3);
                   const std::string folder = (t.dir_.path() / "night").string() + "/";
                   fs::create_directories(folder);
                   other.Save(folder, t.SaveOptions(), t.feedback());
                   return s
                       .Open(folder, false,
                             {base::kDefaultCodePage, testing_support::EnglishMessages()},
                             t.feedback())
                       .changes;
                 },
                 {StepKind::kOpen, std::string("night")},
                 true,
                 false,
                 true,
                 false,
                 true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SkinSessionTest, AnEditThatChangesNothingIsNoStep) {
  EXPECT_FALSE(
      session_.SetField(FieldId::big_clock_x, session_.document().Field(FieldId::big_clock_x))
          .Any());
  EXPECT_FALSE(session_.SetInfo(InfoId::Title, "").Any());
  EXPECT_FALSE(session_.NewSkin().Any()) << "the default skin as it was opened";
  EXPECT_EQ(session_.history().UndoLabel(), nullptr);
  EXPECT_FALSE(session_.Modified());
}

// Runs of one field, one information text or one drag merge; anything between, an undo or a save
// ends the run.
TEST_F(SkinSessionTest, RunsMergeUntilSomethingComesBetween) {
  for (int x = 1; x <= 5; ++x) session_.SetField(FieldId::start_button_x, x);
  for (const char* typed : {"N", "Ni", "Nig"}) session_.SetInfo(InfoId::Title, typed);
  session_.SetField(FieldId::start_button_x, 6);
  session_.SetColour(ColourId::formTextColor, 1);
  session_.SetColour(ColourId::formTextColor, 2);  // a colour editor's OK is a step each time
  for (int drag : {1, 1, 2}) {
    const SkinSession::FieldValue moved[] = {{FieldId::start_button_y, drag * 10}};
    session_.SetFields(moved, {StepKind::kMove, skin::SectionId::start_button}, Gesture{drag});
  }
  EXPECT_EQ(session_.history().UndoCount(), 7u);

  session_.Undo();
  session_.SetFields(std::initializer_list<SkinSession::FieldValue>{{FieldId::start_button_y, 9}},
                     {StepKind::kMove, skin::SectionId::start_button}, Gesture{1});
  EXPECT_EQ(session_.history().UndoCount(), 7u) << "an undo ends the run";
  EXPECT_FALSE(session_.history().CanRedo()) << "a new edit clears what could be redone";
  SaveTo("a");
  session_.SetFields(std::initializer_list<SkinSession::FieldValue>{{FieldId::start_button_y, 8}},
                     {StepKind::kMove, skin::SectionId::start_button}, Gesture{1});
  EXPECT_EQ(session_.history().UndoCount(), 8u) << "a save ends the run";
  while (session_.Undo().Any()) {
  }
  EXPECT_EQ(session_.document().info.Title, "");
  EXPECT_EQ(session_.document(), SkinSession().document());
}

// A run of edits that ends where it began leaves no step behind, and nothing to undo.
TEST_F(SkinSessionTest, ARunBackToItsStartLeavesNoStep) {
  const std::int32_t start = session_.document().Field(FieldId::big_clock_x);
  session_.SetColour(ColourId::formTextColor, 1);
  for (const std::int32_t x : {start + 1, start + 2, start})
    session_.SetField(FieldId::big_clock_x, x);
  EXPECT_EQ(session_.history().UndoCount(), 1u);
  EXPECT_EQ(*session_.history().UndoLabel(),
            (StepLabel{StepKind::kChange, ColourId::formTextColor}));
  for (const char* typed : {"N", ""}) session_.SetInfo(InfoId::Title, typed);
  EXPECT_EQ(session_.history().UndoCount(), 1u);
  session_.Undo();
  EXPECT_FALSE(session_.Modified());
  EXPECT_FALSE(session_.history().CanUndo());
  session_.SetField(FieldId::big_clock_x, start + 1);
  session_.SetField(FieldId::big_clock_x, start);
  EXPECT_FALSE(session_.history().CanUndo()) << "the same from the very start";
}

// The mark compares content: undoing back to what was saved clears it; saving and exporting
// clear it; New skin and Open make the skin they bring the saved one.
TEST_F(SkinSessionTest, ModifiedFollowsEditsUndoSaveAndExport) {
  session_.SetField(FieldId::big_clock_x, 1);
  EXPECT_TRUE(session_.Modified());
  session_.Undo();
  EXPECT_FALSE(session_.Modified());
  session_.Redo();
  const std::string folder = SaveTo("a");
  EXPECT_FALSE(session_.Modified());
  EXPECT_EQ(session_.folder(), folder);
  EXPECT_EQ(session_.name(), "a");
  session_.Undo();
  EXPECT_TRUE(session_.Modified()) << "the saved skin had the edit";
  session_.SetInfo(InfoId::Author, "Me");
  const Changes exported =
      session_
          .Export((dir_.path() / "a.zip").string(),
                  preview::RenderContactSheet(session_.document(), 0), SaveOptions(), feedback_)
          .changes;
  EXPECT_FALSE(exported.origin);
  EXPECT_TRUE(session_.Modified()) << "the skin's folder still holds the skin before the edit";
  EXPECT_EQ(session_.folder(), folder) << "an archive is no folder to follow";
  session_.NewSkin();
  EXPECT_FALSE(session_.Modified());
  session_.Undo();
  EXPECT_TRUE(session_.Modified()) << "undo gives the origin back with the document";
  EXPECT_EQ(session_.name(), "a");
}

// Saving in place is safe only while the skin's path still names the folder it was opened from or
// saved to: a folder moved away, put back, replaced by another or by a link to another decides it.
TEST_F(SkinSessionTest, SavesInPlaceOnlyIntoTheVeryFolderItWasOpenedFromOrSavedTo) {
  EXPECT_FALSE(session_.MaySaveInPlace()) << "the default skin has no folder";
  const std::string other = SaveTo("other");
  const std::string folder = SaveTo("skin");
  EXPECT_TRUE(session_.MaySaveInPlace());
  const fs::path path = base::FsPath(base::WithoutTrailingSeparator(folder));
  const fs::path aside = dir_.path() / "aside";
  const auto expect = [&](bool safe, const char* after) {
    EXPECT_EQ(session_.MaySaveInPlace(), safe) << after;
  };
  fs::rename(path, aside);
  expect(false, "moved away");
  fs::create_directory(path);
  expect(false, "replaced by a new empty folder");
  fs::remove(path);
  fs::rename(aside, path);
  expect(true, "put back");
  std::error_code linked;
  fs::rename(path, aside);
  fs::create_directory_symlink(base::FsPath(base::WithoutTrailingSeparator(other)), path, linked);
  if (!linked) expect(false, "replaced by a link to another skin folder");
  fs::remove(path);
  fs::create_directory_symlink(aside, path, linked);
  if (!linked) expect(true, "a link to the same folder still leads to it");
  fs::remove(path);
  fs::rename(aside, path);
  // Opening takes the identity along, and an undo of the open gives the earlier one back.
  session_.Open(other, false, {base::kDefaultCodePage, testing_support::EnglishMessages()},
                feedback_);
  expect(true, "opened");
  session_.Undo();
  EXPECT_EQ(session_.folder(), folder);
  expect(true, "undo of the open");
  session_.NewSkin();
  expect(false, "a new skin has no folder");
}

// Revert puts the built-in picture back as one step; an image editor gets the slot's file only
// while the skin's own folder holds what the slot shows.
TEST_F(SkinSessionTest, RevertAndThePictureFileForAnImageEditor) {
  using Problem = SkinSession::PictureFile::Problem;
  for (const SlotId slot : {SlotId::btn3, SlotId::gba}) {
    session_.NewSkin();
    EXPECT_EQ(session_.PictureFileOf(slot).problem, Problem::kNoFolder);
    EXPECT_FALSE(session_.RevertPicture(slot).Any()) << "it holds the built-in one";
    session_.SetPicture(slot, imaging::Image(4, 4, 0x7c00));
    EXPECT_EQ(session_.PictureFileOf(slot).problem, Problem::kNoFolder);
    const std::string folder = SaveTo("skin" + std::to_string(skin::Index(slot)));
    const SkinSession::PictureFile file = session_.PictureFileOf(slot);
    EXPECT_EQ(file.problem, Problem::kNone);
    EXPECT_EQ(file.path, folder + std::string(skin::Info(slot).file));
    EXPECT_TRUE(session_.RevertPicture(slot).slots[skin::Index(slot)]);
    EXPECT_EQ(session_.document().Slot(slot), skin::BuiltInSlotPicture(slot));
    EXPECT_EQ(session_.history().UndoLabel()->kind, StepKind::kRevert);
    EXPECT_EQ(session_.PictureFileOf(slot).problem, Problem::kUnsaved) << "the file is older";
    session_.Undo();
    EXPECT_EQ(session_.PictureFileOf(slot).problem, Problem::kNone);
    fs::remove(base::FsPath(file.path));
    EXPECT_EQ(session_.PictureFileOf(slot).problem, Problem::kUnsaved) << "no file to open";
  }
}

// The title, File > Save's folder and the mark agree after every save: a folder becomes the
// skin's once its settings file is written there, and a save that missed files leaves the mark.
TEST_F(SkinSessionTest, ASkinMovesWithItsSettingsFile) {
  const auto save = [&](const std::string& name, const char* obstacle) {
    const fs::path folder = dir_.path() / name;
    fs::remove(folder / obstacle);
    fs::create_directories(folder / obstacle);  // a folder where that file should go
    const SkinSession::Saved saved = session_.Save(folder.string(), SaveOptions(), feedback_);
    fs::remove(folder / obstacle);
    return saved;
  };
  const std::string a = SaveTo("a");
  EXPECT_EQ(save("b", "uisettings.ini").written, 53);
  EXPECT_EQ(session_.folder(), a) << "no settings file, no new folder";
  EXPECT_EQ(session_.name(), "a");
  EXPECT_FALSE(session_.Modified()) << "a still holds the whole skin";
  session_.SetField(FieldId::big_clock_x, 9);
  EXPECT_FALSE(save("c", "btn.bmp").complete);
  EXPECT_EQ(session_.folder(), base::FolderWithSeparator((dir_.path() / "c").string()));
  EXPECT_EQ(session_.name(), "c");
  EXPECT_TRUE(session_.Modified()) << "c lacks btn.bmp";
  EXPECT_FALSE(save("c", "uisettings.ini").complete);
  EXPECT_EQ(session_.name(), "c");
  EXPECT_TRUE(session_.Modified());
  EXPECT_TRUE(session_.Save(session_.folder(), SaveOptions(), feedback_).complete);
  EXPECT_FALSE(session_.Modified());
}

// An export clears the mark only for a skin opened from that archive.
TEST_F(SkinSessionTest, AnExportSavesOnlyTheArchiveTheSkinCameFrom) {
  const std::string zip = (dir_.path() / "a.zip").string();
  const auto export_to = [&](const std::string& path) {
    return session_.Export(path, preview::RenderContactSheet(session_.document(), 0), SaveOptions(),
                           feedback_);
  };
  session_.SetField(FieldId::big_clock_x, 9);
  ASSERT_TRUE(export_to(zip).saved);
  EXPECT_TRUE(session_.Modified()) << "a new skin is not the archive's";
  ASSERT_TRUE(session_.Open(zip, true, {}, feedback_).opened);
  EXPECT_FALSE(session_.Modified());
  session_.SetField(FieldId::big_clock_x, 10);
  ASSERT_TRUE(export_to((dir_.path() / "b.zip").string()).saved);
  EXPECT_TRUE(session_.Modified());
  ASSERT_TRUE(export_to(zip).saved);
  EXPECT_FALSE(session_.Modified());
}

// A file changed on disk: taken silently it is one step and leaves no unsaved change; kept, the
// document keeps the user's version and stays modified; taken over unsaved edits elsewhere, the
// mark stays.
TEST_F(SkinSessionTest, ReloadsFromDiskNeverLoseOrHideUnsavedEdits) {
  const std::string folder = SaveTo("a");
  const SkinFile settings = SkinFile::At(0);
  const SkinFile btn3{SlotId::btn3, "btn3.bmp"};
  const skin::MessageTexts texts = testing_support::EnglishMessages();

  RewriteAuthor(folder, "Someone");
  EXPECT_FALSE(session_.HasUnsavedChangesTo(settings));
  EXPECT_TRUE(session_.Reload(settings, true, base::kDefaultCodePage, texts)
                  .changes.info[skin::Index(InfoId::Author)]);
  EXPECT_EQ(session_.document().info.Author, "Someone");
  EXPECT_FALSE(session_.Modified());
  EXPECT_EQ(session_.history().UndoLabel()->kind, StepKind::kReload);

  session_.SetColour(ColourId::formTextColor, 0x7fff);
  RewriteAuthor(folder, "Else");
  EXPECT_TRUE(session_.HasUnsavedChangesTo(settings));
  EXPECT_FALSE(session_.HasUnsavedChangesTo(btn3));
  const std::size_t steps = session_.history().UndoCount();
  EXPECT_FALSE(session_.Reload(settings, false, base::kDefaultCodePage, texts).changes.Document());
  EXPECT_EQ(session_.document().info.Author, "Someone") << "kept";
  EXPECT_EQ(session_.history().UndoCount(), steps);
  EXPECT_TRUE(session_.Modified());

  WritePicture(folder + "btn3.bmp", kBlue);
  session_.Reload(btn3, true, base::kDefaultCodePage, texts);
  EXPECT_EQ(*session_.document().slots[skin::Index(SlotId::btn3)], kBlue);
  EXPECT_TRUE(session_.Modified()) << "the colour is still unsaved";
  session_.SetColour(ColourId::formTextColor,
                     SkinSession().document().Colour(ColourId::formTextColor));
  EXPECT_TRUE(session_.Modified()) << "the document's author differs from the disk's";
  session_.Reload(settings, true, base::kDefaultCodePage, texts);
  EXPECT_FALSE(session_.Modified());

  WritePicture(folder + "btn3.bmp", imaging::Image());  // a picture that does not decode
  std::ofstream(folder + "btn3.bmp", std::ios::trunc) << "not a picture";
  const SkinSession::Reloaded broken = session_.Reload(btn3, true, base::kDefaultCodePage, texts);
  EXPECT_FALSE(broken.problem.empty());
  EXPECT_FALSE(broken.changes.Any());
  EXPECT_EQ(*session_.document().slots[skin::Index(SlotId::btn3)], kBlue);
}

}  // namespace
}  // namespace session

namespace session {
namespace {

TEST_F(SkinSessionTest, APlainImportTakesThePictureAsImportsAlwaysHave) {
  // Colours off the 15-bit grid are dithered; a 16-bit BMP is taken without loss.
  imaging::Image odd(7, 5);
  for (std::size_t i = 0; i < odd.pixels.size(); ++i) {
    odd.pixels[i] = imaging::MakeRgb(static_cast<int>(i * 37 % 256), 3, 250);
  }
  const std::string png = (dir_.path() / "odd.png").string();
  const std::vector<std::uint8_t> bytes = imaging::EncodePng(odd);
  std::ofstream(png, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  const std::string bmp = (dir_.path() / "exact.bmp").string();
  WritePicture(bmp, imaging::Image(3, 3, imaging::MakeRgb(248, 8, 0)));
  for (const std::string& path : {png, bmp}) {
    skin::SkinDocument expected = session_.document();
    ASSERT_TRUE(skin::ImportSkinImage(expected, SlotId::btn, path,
                                      testing_support::EnglishMessages(), feedback_));
    ASSERT_TRUE(
        session_.Import(SlotId::btn, path, testing_support::EnglishMessages(), feedback_).imported);
    EXPECT_EQ(session_.document().Slot(SlotId::btn), expected.Slot(SlotId::btn)) << path;
  }
}

TEST_F(SkinSessionTest, AFittedImportKeepsItsRecipeWhileTheSlotHoldsItsPicture) {
  const std::string source = (dir_.path() / "wide.bmp").string();
  WritePicture(source, imaging::Image(40, 10, imaging::MakeRgb(64, 0, 0)));
  imaging::FitSettings settings;
  settings.width = 8;
  settings.height = 8;
  const Changes changes = session_.ImportFitted(SlotId::nds, {source, settings},
                                                imaging::Image(8, 8, imaging::MakeRgb(8, 0, 0)));
  EXPECT_TRUE(changes.slots[skin::Index(SlotId::nds)]);
  EXPECT_EQ(*session_.history().UndoLabel(), (StepLabel{StepKind::kImport, SlotId::nds}));
  ASSERT_NE(session_.RecipeOf(SlotId::nds), nullptr);
  EXPECT_EQ(session_.RecipeOf(SlotId::nds)->settings, settings);
  session_.Undo();
  EXPECT_EQ(session_.RecipeOf(SlotId::nds), nullptr);
  session_.Redo();
  ASSERT_NE(session_.RecipeOf(SlotId::nds), nullptr);

  // The file changes on disk: the import runs again with the same settings, as one more step.
  WritePicture(source, imaging::Image(40, 10, imaging::MakeRgb(0, 0, 200)));
  const SkinSession::Imported again =
      session_.Reimport(SlotId::nds, testing_support::EnglishMessages(), feedback_);
  EXPECT_TRUE(again.imported);
  EXPECT_EQ(session_.document().Slot(SlotId::nds),
            imaging::Image(8, 8, imaging::MakeRgb(0, 0, 200)));
  ASSERT_NE(session_.RecipeOf(SlotId::nds), nullptr);
  session_.Undo();
  EXPECT_EQ(session_.document().Slot(SlotId::nds), imaging::Image(8, 8, imaging::MakeRgb(8, 0, 0)));
  session_.Redo();

  // A file that went is reported and changes nothing; a slot without a recipe has nothing to redo.
  std::filesystem::remove(source);
  EXPECT_FALSE(
      session_.Reimport(SlotId::nds, testing_support::EnglishMessages(), feedback_).changes.Any());
  EXPECT_EQ(feedback_.messages.size(), 1u);
  EXPECT_FALSE(
      session_.Reimport(SlotId::btn, testing_support::EnglishMessages(), feedback_).changes.Any());
}

}  // namespace
}  // namespace session
