// The import flow: pictures of another size than their slot's go through the import studio, as one
// step after OK, not at all after Cancel, again from their file through Adjust import and when the
// file changes; a picture of the slot's size imports at once. And the studio's own controls, which
// change the settings.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <algorithm>
#include <fstream>
#include <set>

#include "app/fixed_numbers.h"
#include "app/import_studio.h"
#include "base/paths.h"
#include "imaging/jpeg_codec.h"
#include "imaging/png_codec.h"
#include "session/import_plan.h"
#include "session/skin_check.h"
#include "shell_fixture.h"

namespace app {
namespace {

using skin::SlotId;

// A picture whose every pixel differs from its neighbours, so that any other frame gives another
// result.
imaging::Image Gradient(int width, int height) {
  imaging::Image image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.At(x, y) = imaging::MakeRgb(x * 255 / width, y * 255 / height, (x + y) % 256);
  return image;
}

void WritePng(const std::string& path, const imaging::Image& image) {
  const std::vector<std::uint8_t> png = imaging::EncodePng(image);
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
}

class ImportFlowTest : public ShellTest {
 protected:
  void Import(SlotId slot, const std::string& path) {
    dialogs_.answers.push_back(path);
    static_cast<QPushButton*>(Slot(slot))->click();
  }
  QString UndoText() { return WithoutMnemonic(window().MenuItem(kMenuUndo)->text()); }
};

// A large JPEG opens the studio decoded at the scale its first frame needs; what OK takes is the
// picture the studio showed.
TEST_F(ImportFlowTest, ALargeJpegOpensTheStudioDecodedSmaller) {
  const std::string photo = (dir_.path() / "photo.jpg").string();
  const std::vector<std::uint8_t> jpeg = imaging::EncodeJpeg(Gradient(2048, 1536), 90);
  std::ofstream(photo, std::ios::binary)
      .write(reinterpret_cast<const char*>(jpeg.data()), static_cast<std::streamsize>(jpeg.size()));
  imaging::FitSettings framed = session::FirstImportSettings(doc(), SlotId::upper_screen);
  framed.zoom = 1.5;  // needs 3/8 of the picture: decoded at half its size
  dialogs_.studio_answer = framed;
  Import(SlotId::upper_screen, photo);
  ASSERT_EQ(dialogs_.studio_scales, std::vector<int>{2});
  EXPECT_EQ(dialogs_.studios[0].source_width, 2048);
  imaging::FitSource half(
      *imaging::DecodeJpeg(jpeg, imaging::kNoBudget, [](int, int) { return 4; }), std::nullopt);
  EXPECT_EQ(doc().Slot(SlotId::upper_screen), half.Fit(framed));
}

TEST_F(ImportFlowTest, AWallpaperGoesThroughTheStudioAsOneStep) {
  const std::string photo = (dir_.path() / "photo.png").string();
  const imaging::Image source = Gradient(1920, 1080);
  WritePng(photo, source);
  const skin::SkinDocument before = doc();

  // Cancel leaves the skin as it was, also after the preview showed the studio's pictures.
  dialogs_.studio_answer.reset();
  const int redraws = shell_->redraw_count();
  Import(SlotId::upper_screen, photo);
  ASSERT_EQ(dialogs_.studios.size(), 1u);
  const StudioRequest& asked = dialogs_.studios[0];
  EXPECT_EQ(asked.title, "Import into upper_screen");
  EXPECT_EQ(asked.source_width, 1920);
  EXPECT_EQ(asked.settings.width, 256);
  EXPECT_EQ(asked.settings.height, 192);
  EXPECT_EQ(asked.settings.fill, 0u);  // the background is drawn without a key
  EXPECT_EQ(asked.expected, std::make_pair(256, 192));
  EXPECT_GT(shell_->redraw_count(), redraws + 1);
  EXPECT_TRUE(doc() == before);
  EXPECT_EQ(UndoText(), "Undo");

  // Cover, panned to the left: one step, the picture the studio showed.
  imaging::FitSettings panned = asked.settings;
  panned.focus_x = 0.1;
  panned.zoom = 1.5;
  dialogs_.studio_answer = panned;
  Import(SlotId::upper_screen, photo);
  imaging::FitSettings expected_settings = panned;
  EXPECT_EQ(doc().Slot(SlotId::upper_screen), imaging::FitSource(source, {}).Fit(panned));
  EXPECT_EQ(UndoText(), "Undo Import upper_screen");
  EXPECT_EQ(window().StatusText().toStdString(), "Imported " + photo + " as upper_screen.bmp");

  // Adjust import opens on the file, with the settings it was imported with.
  shell_->imports().Adjust(SlotId::upper_screen);
  ASSERT_EQ(dialogs_.studios.size(), 3u);
  EXPECT_EQ(dialogs_.studios[2].settings, expected_settings);
  EXPECT_EQ(dialogs_.studios[2].source_width, 1920);

  window().MenuItem(kMenuUndo)->trigger();
  window().MenuItem(kMenuUndo)->trigger();
  EXPECT_TRUE(doc() == before);

  // A picture of the slot's size imports at once.
  const std::string exact = (dir_.path() / "exact.png").string();
  WritePng(exact, Gradient(256, 192));
  Import(SlotId::upper_screen, exact);
  EXPECT_EQ(dialogs_.studios.size(), 3u);
  EXPECT_EQ(doc().Slot(SlotId::upper_screen).width, 256);
  EXPECT_EQ(UndoText(), "Undo Import upper_screen");
}

TEST_F(ImportFlowTest, AChangedSourceFileIsImportedAgainWithItsSettings) {
  const std::string sprite = (dir_.path() / "sprite.png").string();
  WritePng(sprite, imaging::Image(64, 64, imaging::MakeRgb(200, 0, 0)));
  imaging::FitSettings contain;
  contain.width = 32;
  contain.height = 32;
  contain.mode = imaging::FitMode::kContain;
  dialogs_.studio_answer = contain;
  Import(SlotId::nds, sprite);
  EXPECT_EQ(doc().Slot(SlotId::nds), imaging::Image(32, 32, imaging::MakeRgb(200, 0, 0)));

  WritePng(sprite, imaging::Image(64, 32, imaging::MakeRgb(0, 0, 200)));
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return imaging::BlueOf(doc().Slot(SlotId::nds).At(16, 16)) == 200; }, 5000));
  EXPECT_EQ(doc().Slot(SlotId::nds).At(0, 0), imaging::kKeyColour);  // contained, keyed around
  EXPECT_EQ(UndoText(), "Undo Import nds");
}

// The recipe survives the session: a reopened skin's Adjust import starts from the photo, and a
// photo that is gone is said so in the studio, which fits the slot's own picture. Neither the save
// nor the recipe file it writes counts as a change on disk.
TEST_F(ImportFlowTest, AReopenedSkinsAdjustImportStartsFromThePhoto) {
  const std::string skin = SaveSkinFolder("skin");
  Open(skin);
  const std::string photo = base::JoinPath(skin, "photo.png");
  WritePng(photo, Gradient(640, 480));
  imaging::FitSettings framed;
  framed.width = 256;
  framed.height = 192;
  framed.zoom = 2;
  framed.key = imaging::ColourKey{0x102030, 0.1, true, 0.25, 0.5};
  dialogs_.studio_answer = framed;
  Import(SlotId::upper_screen, photo);
  dialogs_.answers.push_back(skin);
  Trigger(kMenuSaveFolder);
  ASSERT_FALSE(window().isWindowModified());
  QTest::qWait(700);
  EXPECT_TRUE(shell_->disk_changes().empty());
  EXPECT_EQ(UndoText(), "Undo Import upper_screen");

  Restart();
  Open(skin);
  dialogs_.studio_answer.reset();
  shell_->imports().Adjust(SlotId::upper_screen);
  ASSERT_EQ(dialogs_.studios.size(), 2u);
  EXPECT_EQ(dialogs_.studios[1].source_width, 640);
  EXPECT_EQ(dialogs_.studios[1].settings, framed);
  EXPECT_EQ(dialogs_.studios[1].missing_source, "");

  std::filesystem::remove(base::FsPath(photo));
  shell_->imports().Adjust(SlotId::upper_screen);
  ASSERT_EQ(dialogs_.studios.size(), 3u);
  EXPECT_EQ(dialogs_.studios[2].source_width, 256);
  EXPECT_EQ(dialogs_.studios[2].missing_source, base::DisplayPath(photo));
  EXPECT_TRUE(dialogs_.errors.empty());
}

TEST_F(ImportFlowTest, ThePictureSizeQuickFixFitsThePictureToItsPlace) {
  const std::string small = (dir_.path() / "small.png").string();
  WritePng(small, Gradient(40, 10));
  Import(SlotId::upper_screen, small);  // kept at its own size
  ASSERT_EQ(doc().Slot(SlotId::upper_screen).width, 40);
  const std::vector<session::Finding> findings = session::CheckSkin(doc());
  const auto size = std::find_if(findings.begin(), findings.end(), [](const session::Finding& f) {
    return f.code == session::CheckCode::kPictureSize && f.slot == SlotId::upper_screen;
  });
  ASSERT_NE(size, findings.end());
  dialogs_.studio_answer = std::nullopt;
  shell_->check().Fix(*size);
  ASSERT_EQ(dialogs_.studios.size(), 2u);
  // The studio opens on the file, aimed at the expected size, to cover it.
  const StudioRequest& fix = dialogs_.studios[1];
  EXPECT_EQ(fix.source_width, 40);
  EXPECT_EQ(std::make_pair(fix.settings.width, fix.settings.height), std::make_pair(256, 192));
  EXPECT_EQ(fix.settings.mode, imaging::FitMode::kCover);
}

TEST(ImportStudio, ControlsChangeTheSettingsAndShowEachResult) {
  imaging::FitSource source(Gradient(64, 32), std::nullopt);
  StudioRequest request = StudioRequestFor(source, 64, 32, {32, 32});
  request.settings.width = 16;
  request.settings.height = 16;
  const i18n::UiTexts texts;
  int shown = 0;
  imaging::Image last;
  ImportStudio studio(
      texts, request,
      [&](const imaging::Image& picture) {
        ++shown;
        last = picture;
      },
      nullptr);
  studio.resize(800, 500);
  studio.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&studio));
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(last, source.Fit(request.settings));

  // A drag to the right moves the frame to the right; the wheel zooms in.
  auto* view = dynamic_cast<SourceView*>(studio.findChild<QWidget*>("Source"));
  ASSERT_NE(view, nullptr);
  const QPoint middle = view->FrameRect().center().toPoint();
  QTest::mousePress(view, Qt::LeftButton, {}, middle);
  QTest::mouseMove(view, middle + QPoint(40, 0));
  QTest::mouseRelease(view, Qt::LeftButton, {}, middle + QPoint(40, 0));
  EXPECT_GT(studio.settings().focus_x, 0.5);
  QWheelEvent wheel(QPointF(middle), view->mapToGlobal(QPointF(middle)), {}, {0, 120}, Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(view, &wheel);
  EXPECT_DOUBLE_EQ(studio.settings().zoom, 1.25);
  const double focus_y = studio.settings().focus_y;
  QTest::keyClick(view, Qt::Key_Down);
  EXPECT_GT(studio.settings().focus_y, focus_y);

  auto* dither = studio.findChild<QComboBox*>("Dither");
  dither->setCurrentIndex(2);
  Q_EMIT dither->activated(2);
  EXPECT_EQ(studio.settings().dither, imaging::DitherKind::kOrdered);
  studio.findChild<QAbstractButton*>("FitContain")->click();
  EXPECT_EQ(studio.settings().mode, imaging::FitMode::kContain);
  studio.findChild<QSpinBox*>("TargetWidth")->setValue(20);
  EXPECT_EQ(last.width, 20);

  // The eyedropper makes the colour under the click transparent, with the colours near it around
  // the pixel picked; neither the pick nor a Clear moves a control.
  const auto places = [&] {
    QApplication::processEvents();
    std::vector<QRect> rects;
    for (const QWidget* w : studio.findChildren<QWidget*>())
      if (w->isVisible()) rects.push_back(QRect(w->mapTo(&studio, QPoint(0, 0)), w->size()));
    return rects;
  };
  const std::vector<QRect> unkeyed = places();
  auto* pick = studio.findChild<QAbstractButton*>("PickKey");
  pick->click();
  EXPECT_EQ(places(), unkeyed);
  QTest::mouseClick(view, Qt::LeftButton, {},
                    view->PictureRect().topLeft().toPoint() + QPoint(1, 1));
  ASSERT_TRUE(studio.settings().key.has_value());
  const imaging::ColourKey picked = *studio.settings().key;
  EXPECT_EQ(picked.colour, source.picture().At(0, 0) & 0xFFFFFF);
  EXPECT_DOUBLE_EQ(picked.x, 0.5 / 64);
  EXPECT_TRUE(picked.connected);
  EXPECT_GT(picked.tolerance, 0);
  EXPECT_EQ(source.key(), studio.settings().key);
  EXPECT_FALSE(pick->isChecked());
  EXPECT_EQ(last, source.Fit(studio.settings()));
  EXPECT_EQ(places(), unkeyed);
  studio.findChild<QDoubleSpinBox*>("KeyToleranceValue")->setValue(0.2);
  EXPECT_DOUBLE_EQ(studio.settings().key->tolerance, 0.2);
  EXPECT_EQ(studio.findChild<QSlider*>("KeyTolerance")->value(), 20);
  studio.findChild<QCheckBox*>("KeyConnected")->click();
  EXPECT_FALSE(studio.settings().key->connected);
  EXPECT_EQ(source.key(), studio.settings().key);
  studio.findChild<QAbstractButton*>("ClearKey")->click();
  EXPECT_FALSE(studio.settings().key.has_value());
  EXPECT_EQ(places(), unkeyed);
  // The next pick keys with the tolerance and region set meanwhile.
  pick->click();
  QTest::mouseClick(view, Qt::LeftButton, {},
                    view->PictureRect().topLeft().toPoint() + QPoint(1, 1));
  EXPECT_DOUBLE_EQ(studio.settings().key->tolerance, 0.2);
  EXPECT_FALSE(studio.settings().key->connected);
}

// A slot the console draws without a key shows key green as green in the result, and says so.
TEST(ImportStudio, ASlotDrawnWithoutAKeyShowsKeyGreen) {
  imaging::Image picture(8, 8, imaging::kKeyColour);
  picture.At(0, 0) = imaging::MakeRgb(255, 255, 255);
  const i18n::UiTexts texts;
  for (const bool keyless : {false, true}) {
    imaging::FitSource source(picture, std::nullopt);
    StudioRequest request = StudioRequestFor(source, 8, 8, {8, 8});
    request.keyless = keyless;
    request.missing_source = keyless ? "/gone/photo.jpg" : "";
    ImportStudio studio(texts, request, {}, nullptr);
    const QImage shown = studio.findChild<QLabel*>("Result")->pixmap().toImage();
    EXPECT_EQ(shown.pixelColor(shown.width() - 1, shown.height() - 1) == QColor(0, 248, 0),
              keyless);
    EXPECT_EQ(studio.findChild<QLabel*>("KeylessNote") != nullptr, keyless);
    const auto* gone = studio.findChild<QLabel*>("MissingSource");
    EXPECT_EQ(gone != nullptr && gone->text().contains("/gone/photo.jpg"), keyless);
  }
}

// A source smaller than the view is shown with its own pixels, whichever scaling the result takes:
// inside the frame no pixel is a blend of two.
TEST(ImportStudio, TheSourceViewEnlargesASmallSourceWithSharpPixels) {
  imaging::Image checker(8, 8);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x)
      checker.At(x, y) = (x + y) % 2 ? imaging::MakeRgb(255, 255, 255) : imaging::MakeRgb(0, 0, 0);
  }
  const imaging::FitSource source(checker, std::nullopt);
  imaging::FitSettings settings;
  settings.width = settings.height = 64;
  settings.mode = imaging::FitMode::kContain;
  settings.resampling = imaging::Resampling::kSmooth;
  SourceView view(source, {}, nullptr);
  view.resize(300, 300);
  view.Show(settings, true);
  const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QRect inside = view.FrameRect().toRect().adjusted(8, 8, -8, -8);
  ASSERT_GT(inside.width(), 100);
  const qreal ratio = shown.devicePixelRatio();
  std::set<QRgb> colours;
  for (int y = inside.top(); y < inside.bottom(); ++y) {
    for (int x = inside.left(); x < inside.right(); ++x) {
      colours.insert(shown.pixel(QPoint(x, y) * ratio) & 0xFFFFFF);
    }
  }
  EXPECT_EQ(colours, (std::set<QRgb>{0x000000, 0xFFFFFF}));
}

}  // namespace
}  // namespace app
