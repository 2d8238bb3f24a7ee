; The Skinsmith installer: a per-user install that never asks for administrator rights, with a
; Start menu entry, "Open with" for .zip skin archives and an uninstaller that removes what it
; installed and keeps the user's settings (%APPDATA%\Skinsmith). makensis is given VERSION,
; OUTFILE, ICON and the lists of files to install and to remove (INSTALL_FILES, UNINSTALL_FILES,
; written by scripts/package-windows). /S installs and uninstalls silently.
; A 64-bit installer for the 64-bit programs (it also runs where no 32-bit Windows layer is).
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "FileFunc.nsh"

Name "Skinsmith ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Skinsmith"
InstallDirRegKey HKCU "Software\Skinsmith" "InstallDir"
BrandingText "Skinsmith ${VERSION}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Skinsmith"
!define APP_KEY "Software\Classes\Applications\skinsmith.exe"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\bin\skinsmith.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "TradChinese"
!insertmacro MUI_LANGUAGE "Spanish"
!insertmacro MUI_LANGUAGE "French"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "PortugueseBR"
!insertmacro MUI_LANGUAGE "Italian"
!insertmacro MUI_LANGUAGE "Japanese"

Function .onInit
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "Skinsmith"
  SetOutPath "$INSTDIR"
  !include "${INSTALL_FILES}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "$SMPROGRAMS\Skinsmith.lnk" "$INSTDIR\bin\skinsmith.exe"

  ; "Open with" for skin archives, for this user only.
  WriteRegStr HKCU "${APP_KEY}" "FriendlyAppName" "Skinsmith"
  WriteRegStr HKCU "${APP_KEY}\DefaultIcon" "" '"$INSTDIR\bin\skinsmith.exe",0'
  WriteRegStr HKCU "${APP_KEY}\shell\open\command" "" '"$INSTDIR\bin\skinsmith.exe" "%1"'
  WriteRegStr HKCU "${APP_KEY}\SupportedTypes" ".zip" ""
  WriteRegStr HKCU "Software\Classes\.zip\OpenWithList\skinsmith.exe" "" ""

  WriteRegStr HKCU "Software\Skinsmith" "InstallDir" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Skinsmith"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Skinsmith"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\bin\skinsmith.exe",0'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  !include "${UNINSTALL_FILES}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Skinsmith.lnk"
  DeleteRegKey HKCU "${APP_KEY}"
  DeleteRegKey HKCU "Software\Classes\.zip\OpenWithList\skinsmith.exe"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "Software\Skinsmith"
SectionEnd
