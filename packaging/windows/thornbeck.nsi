; The Thornbeck installer. makensis gets VERSION, FILES (the installed files' folder), ICON and
; OUTFILE from the build (cmake/WindowsPackage.cmake).
;
; It installs for the current user (no administrator needed) or for all users, chosen on a page
; or with /CurrentUser or /AllUsers beside /S. The .sys extension belongs to Windows drivers and
; is left as it is: Thornbeck is only offered under "Open with".
; A 64-bit installer for 64-bit programs: its registry view and Program Files are the
; programs' own, and it runs where no 32-bit layer is installed.
Target amd64-unicode
SetCompressor /SOLID lzma

!define APP "Thornbeck"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Thornbeck"
!define APP_KEY "Software\Classes\Applications\thornbeck.exe"
!define OPEN_WITH_KEY "Software\Classes\.sys\OpenWithList\thornbeck.exe"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${APP}"
; A second install or the uninstaller finds the mode of the first where it left its entry.
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${APP} ${VERSION}"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\thornbeck.exe"

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_LICENSE "${FILES}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${APP}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${APP} installer"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright the Thornbeck developers, GPL-3.0-or-later"

; The files the installer puts down; the uninstaller removes these and no others, so that a
; folder chosen by the user keeps whatever else is in it.
!macro ProgramFiles DO
  ${DO} "thornbeck.exe"
  ${DO} "thornbeck-cli.exe"
  ${DO} "xRegistry_info.txt"
  ${DO} "README.txt"
  ${DO} "LICENSE.txt"
!macroend
!macro PutFile NAME
  File "${FILES}\${NAME}"
!macroend
!macro RemoveFile NAME
  Delete "$INSTDIR\${NAME}"
!macroend
!define PutFile "!insertmacro PutFile"
!define RemoveFile "!insertmacro RemoveFile"

Function .onInit
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Thornbeck"
  SetOutPath "$INSTDIR"
  !insertmacro ProgramFiles "${PutFile}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\thornbeck.exe"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${APP}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\thornbeck.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" \
    '"$INSTDIR\Uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" \
    '"$INSTDIR\Uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1

  ; "Open with": the program is offered for .sys files without becoming their default.
  WriteRegStr SHCTX "${APP_KEY}" "FriendlyAppName" "${APP}"
  WriteRegStr SHCTX "${APP_KEY}\shell\open\command" "" '"$INSTDIR\thornbeck.exe" "%1"'
  WriteRegStr SHCTX "${APP_KEY}\SupportedTypes" ".sys" ""
  WriteRegStr SHCTX "${OPEN_WITH_KEY}" "" ""
SectionEnd

Section "Uninstall"
  !insertmacro ProgramFiles "${RemoveFile}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${APP}.lnk"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  DeleteRegKey SHCTX "${APP_KEY}"
  DeleteRegKey SHCTX "${OPEN_WITH_KEY}"
  DeleteRegKey /ifempty SHCTX "Software\Classes\.sys\OpenWithList"
  DeleteRegKey /ifempty SHCTX "Software\Classes\.sys"
SectionEnd
