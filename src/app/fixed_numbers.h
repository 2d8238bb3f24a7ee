// The program's fixed numbers for its menu items and gadgets, and the sizes of its window's layout.
// Menu items are dispatched by their number; gadgets are found by theirs (to mark, reveal or test
// them), while their events reach the shell by what they edit.
#pragma once

namespace app {

// Menu items.
inline constexpr int kMenuNewSkin = 2;
inline constexpr int kMenuOpenFolder = 3;
inline constexpr int kMenuOpenZip = 4;
inline constexpr int kMenuSaveFolder = 5;
inline constexpr int kMenuQuit = 6;
inline constexpr int kMenuScreenshotFile = 7;
inline constexpr int kMenuScreenshotClipboard = 8;
inline constexpr int kMenuBackgroundColour = 30;
inline constexpr int kMenuSwapView = 31;
inline constexpr int kMenuFirstScreen = 32;  // 32 to 45: screens 0 to 13
inline constexpr int kMenuLastScreen = 45;
inline constexpr int kMenuInformation = 46;
// Items added since are numbered from 301 on, outside every range above and every gadget number.
// View > Fit and View > Actual size:
inline constexpr int kMenuFitPreview = 301;
inline constexpr int kMenuZoomOne = 302;
// File > Save > ZIP archive:
inline constexpr int kMenuSaveZip = 303;
// Edit > Undo and Redo:
inline constexpr int kMenuUndo = 304;
inline constexpr int kMenuRedo = 305;
// Items of the live link and the recent skins are numbered from 340 on.
// Options > Follow changes on disk:
inline constexpr int kMenuFollowChanges = 340;
// File > Open recent: Clear, and the entries from the most recent on:
inline constexpr int kMenuClearRecent = 341;
inline constexpr int kMenuFirstRecent = 342;  // 342 to 349
inline constexpr int kMenuLastRecent = 349;
// Items of the workspace are numbered from 350 on.
// File > Save, into the folder the skin comes from:
inline constexpr int kMenuSave = 350;
// File > Screenshot > Current screen to file and to clipboard:
inline constexpr int kMenuScreenshotCurrentFile = 351;
inline constexpr int kMenuScreenshotCurrentClipboard = 352;
// View > Zoom in, Zoom out and Pixel grid (Actual size and Fit are 302 and 301):
inline constexpr int kMenuZoomIn = 353;
inline constexpr int kMenuZoomOut = 354;
inline constexpr int kMenuPixelGrid = 355;
// Help > User guide:
inline constexpr int kMenuUserGuide = 356;
// File > Screenshot > at 1x, 2x and 3x:
inline constexpr int kMenuScreenshotScale1 = 360;
inline constexpr int kMenuScreenshotScale3 = 362;
// View > Console colours, as the later models and as the original model show them:
inline constexpr int kMenuConsoleColours = 357;
inline constexpr int kMenuOriginalColours = 358;

// Gadgets of the main window.
inline constexpr int kGadgetPreviewImage = 11;
inline constexpr int kGadgetPreviewArea = 12;
inline constexpr int kGadgetSidePanel = 18;
inline constexpr int kGadgetFirstScreenButton = 277;  // "1" to "14"
inline constexpr int kGadgetLastScreenButton = 290;
inline constexpr int kGadgetInfoTitle = 292;  // the information fields, every second number
inline constexpr int kGadgetInfoLastUpdate = 300;

// Sizes of the main window's layout.
inline constexpr int kInitialClientWidth = 666;
inline constexpr int kInitialClientHeight = 521;  // below the menu bar, above the status bar
inline constexpr int kSidePanelWidth = 392;       // the side panel's narrowest width, and its first
inline constexpr int kLargestScreenButton = 40;   // the screen buttons' width in a wide preview
inline constexpr int kPreviewTop = 28;
inline constexpr int kSmallestPreviewWidth = 266;  // the window's smallest size: the canvas
inline constexpr int kSmallestClientHeight = 300;
inline constexpr int kProgressMaximum = 53;
inline constexpr int kProgressWidth = 275;  // the status bar's progress bar
// Where the preview area and the side panel stand as the window is built, before its first layout:
// the preview at the left edge and the panel right of it, or the other way round when swapped.
inline constexpr int kPanelsMargin = 3;
inline constexpr int kFirstPanelX = 272;
inline constexpr int kFirstSwappedPreviewX = 398;
// The screen buttons as built: a row of narrow buttons above the preview.
inline constexpr int kScreenButtonTop = 3;
inline constexpr int kFirstScreenButtonWidth = 19;
inline constexpr int kScreenButtonHeight = 20;
// The side panel the window sizes itself takes at most this share of the client's width (the user
// may drag it wider).
inline constexpr int kPanelShareNumerator = 11;
inline constexpr int kPanelShareDenominator = 20;

}  // namespace app
