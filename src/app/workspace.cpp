// The workspace: window place, zoom and recent skins.
#include "app/workspace.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "app/fixed_numbers.h"
#include "app/main_window.h"
#include "app/window_fit.h"
#include "base/file_io.h"
#include "base/paths.h"
#include "preview/preview.h"
#include "skin/skin_loader.h"

namespace app {
namespace {

constexpr float kZoomStep = 0.15f;
constexpr float kSmallestZoom = 1.0f;
constexpr float kLargestZoom = 5.0f;
constexpr int kWheelNotch = 120;
// The text of a recent skin's entry: "&1 /path", a long path shortened in its middle, "&" doubled
// so that it shows rather than marking a key.
QString RecentLabel(std::size_t index, const std::string& path) {
  constexpr qsizetype kLongest = 72;
  QString shown = QString::fromStdString(path);
  if (shown.size() > kLongest) shown = shown.left(24) + QChar(0x2026) + shown.right(kLongest - 25);
  shown.replace('&', "&&");
  return QStringLiteral("&%1 %2").arg(QString::number(index + 1), shown);
}

}  // namespace

float FitZoom(QSize area) {
  float fit = kSmallestZoom;
  for (float zoom = kSmallestZoom + 1; zoom <= kLargestWholeZoom; ++zoom) {
    const preview::CanvasSize size = preview::ZoomedCanvasSize(zoom);
    if (size.width > area.width() || size.height > area.height()) break;
    fit = zoom;
  }
  return fit;
}

QSize FirstClientSize(QSize room, int panel_width, QSize chrome) {
  // The client as Layout places it: the preview 3 pixels from the edge and 3 from the handle,
  // below the screen buttons and 3 pixels above the status bar; wide enough that the panel gets
  // its whole width within its share of the window.
  const int panel_room = ((panel_width + 6) * kPanelShareDenominator + kPanelShareNumerator - 1) /
                         kPanelShareNumerator;
  const auto client_at = [&](float zoom) {
    const preview::CanvasSize canvas = preview::ZoomedCanvasSize(zoom);
    return QSize(std::max(canvas.width + 6 + panel_width, panel_room),
                 canvas.height + kPreviewTop + 3);
  };
  const QSize three_quarters = room * 3 / 4;
  for (float zoom = kLargestWholeZoom; zoom > kSmallestZoom; --zoom) {
    const QSize client = client_at(zoom);
    if ((client + chrome).boundedTo(three_quarters) == client + chrome) return client;
  }
  return client_at(kSmallestZoom).boundedTo(room - chrome);
}

preview::ScreenColours ScreenColoursOf(i18n::PreviewColours colours) {
  switch (colours) {
    case i18n::PreviewColours::kConsole:
      return preview::ScreenColours::kConsole;
    case i18n::PreviewColours::kOriginal:
      return preview::ScreenColours::kOriginal;
    case i18n::PreviewColours::kStored:
      break;
  }
  return preview::ScreenColours::kStored;
}

float WholeZoomStep(float zoom, bool up) {
  // A zoom a hair off a whole number (a sum of wheel notches) counts as that number.
  constexpr float kNear = 1e-3f;
  const float next = up ? std::floor(zoom + kNear) + 1 : std::ceil(zoom - kNear) - 1;
  return std::clamp(next, kSmallestZoom, kLargestWholeZoom);
}

Workspace::Workspace(EditorHost& host, UserDialogs& dialogs, const i18n::UiTexts& texts,
                     ShellState& state)
    : host_(host), dialogs_(dialogs), texts_(texts), state_(state) {}

void Workspace::LoadPreferences(const std::string& settings_file) {
  preferences_file_ = i18n::EditorPreferencesFile(settings_file);
  preferences_ = i18n::LoadEditorPreferences(preferences_file_);
  state_.screen_colours = ScreenColoursOf(preferences_.preview_colours);
}

void Workspace::SetFollowChanges(bool follow) {
  preferences_.follow_changes = follow;
  SavePreferences();
}

void Workspace::SetScreenshotScale(int scale) {
  preferences_.screenshot_scale =
      std::clamp(scale, 1, i18n::EditorPreferences::kMaxScreenshotScale);
  SavePreferences();
}

void Workspace::ShowInNewPreview() {
  // The new view shows the canvas as the old one did, centred where it fits: the old view's
  // scroll position belongs to the old view's size.
  host_.window()->preview()->SetGrid(state_.pixel_grid ? kGridZoom : 0.0f);
  if (state_.fit_preview) {
    SetFitPreview(true);
  } else {
    host_.window()->preview()->SetZoomCentred(state_.preview_zoom);
  }
}

void Workspace::FollowSize() {
  if (state_.fit_preview) SetFitPreview(true);
}

bool Workspace::Wheel(int delta, QPointF at) {
  // One notch at a time; the zoom is kept as a single-precision sum, as it always was. A zoom the
  // user chooses ends Fit.
  if (std::abs(delta) == kWheelNotch) state_.fit_preview = false;
  if (delta == -kWheelNotch && state_.preview_zoom > kSmallestZoom) {
    state_.preview_zoom += -kZoomStep;
  } else if (delta == kWheelNotch && state_.preview_zoom < kLargestZoom) {
    state_.preview_zoom += kZoomStep;
  } else {
    return false;
  }
  // The canvas drawn is the same at every zoom: the view only shows it at another size.
  host_.window()->preview()->ZoomAround(state_.preview_zoom, at);
  return true;
}

void Workspace::SetZoom(float zoom) {
  state_.preview_zoom = zoom;
  host_.window()->preview()->SetZoom(zoom);
}

void Workspace::ChooseZoom(float zoom) {
  state_.fit_preview = false;
  SetZoom(zoom);
}

void Workspace::ZoomIn() { ChooseZoom(WholeZoomStep(state_.preview_zoom, true)); }

void Workspace::ZoomOut() { ChooseZoom(WholeZoomStep(state_.preview_zoom, false)); }

void Workspace::ZoomOne() { ChooseZoom(kSmallestZoom); }

void Workspace::SetFitPreview(bool fit) {
  state_.fit_preview = fit;
  // A window built anew is resized before its preview exists; the zoom follows once it does.
  if (fit && host_.window()->preview() != nullptr) {
    SetZoom(FitZoom(host_.window()->preview()->maximumViewportSize()));
  }
}

void Workspace::SetPreviewColours(i18n::PreviewColours colours) {
  preferences_.preview_colours = colours;
  state_.screen_colours = ScreenColoursOf(colours);
  SavePreferences();
  host_.RedrawPreview();
}

void Workspace::SetPixelGrid(bool grid) {
  state_.pixel_grid = grid;
  host_.window()->preview()->SetGrid(grid ? kGridZoom : 0.0f);
}

std::optional<std::string> Workspace::RecentSkin(std::size_t index) {
  if (index >= preferences_.recent.size()) return std::nullopt;
  const std::string path = preferences_.recent[index];
  const bool zip = skin::OpensAsArchive(path);
  if (zip ? base::KindOf(path) != base::FileKind::kMissing : base::IsFolder(path)) return path;
  dialogs_.ShowError(
      texts_.Text("LANG_ERROR$"),
      skin::ComposeFileMessage(path, skin::FileProblem::kNotFound, host_.Messages()));
  i18n::ForgetRecentSkin(preferences_.recent, path);
  SavePreferences();
  ShowRecentSkins();
  return std::nullopt;
}

void Workspace::ClearRecent() {
  preferences_.recent.clear();
  SavePreferences();
  ShowRecentSkins();
}

void Workspace::RememberSkin(const std::string& path, bool zip) {
  i18n::RememberRecentSkin(preferences_.recent, zip ? path : base::FolderWithSeparator(path));
  SavePreferences();
  ShowRecentSkins();
}

void Workspace::ShowRecentSkins() {
  static_assert(kMenuLastRecent - kMenuFirstRecent + 1 == i18n::kMaxRecentSkins);
  const std::vector<std::string>& recent = preferences_.recent;
  for (std::size_t i = 0; i < i18n::kMaxRecentSkins; ++i) {
    QAction* entry = host_.window()->MenuItem(kMenuFirstRecent + static_cast<int>(i));
    entry->setVisible(i < recent.size());
    if (i < recent.size()) entry->setText(RecentLabel(i, recent[i]));
  }
  host_.window()->MenuItem(kMenuClearRecent)->setEnabled(!recent.empty());
}

void Workspace::SavePreferences() { i18n::SaveEditorPreferences(preferences_file_, preferences_); }

void Workspace::RestoreWindowPlace() {
  if (!preferences_.window) {
    // The first start: as large as the preview at a good zoom with the panel's names whole, in
    // the middle of the screen.
    const QRect room = WindowRoom(host_.window());
    const QSize client = FirstClientSize(room.size(), host_.window()->panel()->PreferredWidth(),
                                         host_.window()->Chrome());
    host_.window()->resize(
        (client + host_.window()->Chrome()).expandedTo(host_.window()->minimumSize()));
    QRect placed(QPoint(), host_.window()->size());
    placed.moveCenter(room.center());
    host_.window()->move(placed.topLeft());
    return;
  }
  const i18n::WindowPlace& place = *preferences_.window;
  // editor.ini may come from another desktop or have been edited: the window takes the size only
  // within what the screen it lands on offers, and the place only where its top edge can be
  // grabbed on some screen.
  QRect frame(place.x, place.y, place.width, place.height);
  const QScreen* screen = QGuiApplication::screenAt(frame.center());
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  const QRect room = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  const QSize size = QSize(place.width, place.height)
                         .boundedTo(room.size())
                         .expandedTo(host_.window()->minimumSize());
  const QRect title(place.x, place.y, size.width(), 24);
  // One list: begin() and end() of two calls would belong to two lists.
  const QList<QScreen*> screens = QGuiApplication::screens();
  const bool reachable = std::any_of(screens.begin(), screens.end(), [&](QScreen* s) {
    const QRect shared = s->availableGeometry().intersected(title);
    return shared.width() >= 64 && shared.height() >= 8;
  });
  host_.window()->resize(size);
  if (reachable) host_.window()->move(place.x, place.y);
  host_.window()->SetPanelWidth(place.panel_width);
  if (place.maximised)
    host_.window()->setWindowState(host_.window()->windowState() | Qt::WindowMaximized);
}

void Workspace::RememberWindowPlace() {
  if (host_.window() == nullptr) return;
  // The frame the window returns to from maximised, so that it is not restored maximised-sized.
  const QRect frame =
      host_.window()->isMaximized() ? host_.window()->normalGeometry() : host_.window()->geometry();
  if (!frame.isValid()) return;
  preferences_.window = i18n::WindowPlace{frame.x(),
                                          frame.y(),
                                          frame.width(),
                                          frame.height(),
                                          host_.window()->isMaximized(),
                                          host_.window()->user_panel_width()};
  SavePreferences();
}

}  // namespace app
