; The Windows installer: puts Driftglass.scr into the system folder, selects it as the user's
; screen saver, and registers an uninstaller under installed programs. /S runs it silently.
; Its pages: welcome, licence, progress, and a finish page that offers a preview of the saver
; and the screen saver settings.
; makensis -DSCR=path\to\Driftglass.scr -DVERSION=1.0 -DOUTFILE=setup.exe installer.nsi
; A 64-bit installer for the 64-bit program: the system folder and the registry it sees are
; the program's own (no 32-bit redirection).
Target amd64-unicode
!include "LogicLib.nsh"
!include "MUI2.nsh"
!include "WinMessages.nsh"

!ifndef SCR | VERSION | OUTFILE
  !error "define SCR, VERSION and OUTFILE"
!endif

!define PRODUCT "Driftglass #1"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Driftglass"
!define DESKTOP_KEY "Control Panel\Desktop"
; What the user had chosen before, given back by the uninstaller.
!define PREVIOUS_KEY "Software\Tolvanet\Driftglass #1 setup"
!define OURS "$WINDIR\System32\Driftglass.scr"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
RequestExecutionLevel admin
ShowInstDetails show
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "Tolvanet"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright ${U+00A9} 2026 Tolvanet"

; Never "Ignore" a file that cannot be written: that would end on "Completed" with the old one.
AllowSkipFiles off

!define MUI_ICON "${__FILEDIR__}\..\pictures\icon.ico"
!define MUI_UNICON "${__FILEDIR__}\..\pictures\icon.ico"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${__FILEDIR__}\..\pictures\setup_panel.bmp"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${__FILEDIR__}\..\pictures\setup_panel.bmp"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TITLE "Welcome to ${PRODUCT}"
!define MUI_WELCOMEPAGE_TEXT "A painted seascape by moonlight: the sea ripples, two flowers \
    sway on curling stalks, and a long scaled creature flies on insect-fast wings.$\r$\n$\r$\n\
    This installs ${PRODUCT} ${VERSION} and makes it your screen saver.$\r$\n$\r$\n\
    Click Next to continue."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${__FILEDIR__}\license.txt"
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "${PRODUCT} is your screen saver"
!define MUI_FINISHPAGE_TEXT "It starts when the computer has been idle for the time set in \
    the screen saver settings."
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Preview the screen saver"
!define MUI_FINISHPAGE_RUN_FUNCTION PreviewSaver
!define MUI_FINISHPAGE_RUN_NOTCHECKED
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Open the screen saver settings"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION OpenSaverSettings
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function PreviewSaver
  Exec '"$SYSDIR\Driftglass.scr" /s'
FunctionEnd

Function OpenSaverSettings
  Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

; Frees the name $SYSDIR\Driftglass.scr: a saver that runs (full screen, or a preview in the
; display settings) holds its file. Full-screen savers are asked to close; a file still held
; then is moved aside under another name, which Windows allows for a running program, and
; deleted at the next restart. Sets $R9 to "moved" when it had to move it.
!macro FreeSaverFile UN
Function ${UN}FreeSaverFile
  StrCpy $R9 ""
  StrCpy $R1 0
  ${DoWhile} ${FileExists} "$SYSDIR\Driftglass.scr"
    ClearErrors
    Delete "$SYSDIR\Driftglass.scr"
    ${IfNot} ${Errors}
      ${Break}
    ${EndIf}
    ${If} $R1 >= 10
      ; Still held, by a preview or a saver that does not close: move it aside.
      StrCpy $R2 0
      ${Do}
        IntOp $R2 $R2 + 1
      ${LoopWhile} ${FileExists} "$SYSDIR\Driftglass-replaced-$R2.scr"
      ClearErrors
      Rename "$SYSDIR\Driftglass.scr" "$SYSDIR\Driftglass-replaced-$R2.scr"
      ${IfNot} ${Errors}
        Delete /REBOOTOK "$SYSDIR\Driftglass-replaced-$R2.scr"
        StrCpy $R9 "moved"
      ${EndIf}
      ${Break}
    ${EndIf}
    FindWindow $0 "WindowsScreenSaverClass" "Screen Saver"
    ${If} $0 <> 0
      SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=2000
    ${EndIf}
    Sleep 300
    IntOp $R1 $R1 + 1
  ${Loop}
FunctionEnd
!macroend
!insertmacro FreeSaverFile ""
!insertmacro FreeSaverFile "un."

Section "Install"
  SetOutPath "$SYSDIR"
  Call FreeSaverFile
  ${If} ${FileExists} "$SYSDIR\Driftglass.scr"
    MessageBox MB_OK|MB_ICONSTOP "Driftglass.scr in $SYSDIR is in use and cannot be replaced. \
        Close the screen saver and its preview in the display settings, then run the setup \
        again." /SD IDOK
    SetErrorLevel 2
    Abort "Driftglass.scr is in use and cannot be replaced."
  ${EndIf}
  ClearErrors
  File "/oname=Driftglass.scr" "${SCR}"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "Driftglass.scr could not be written into $SYSDIR." /SD IDOK
    SetErrorLevel 2
    Abort "Driftglass.scr could not be written."
  ${EndIf}

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The saver the user had, kept for the uninstaller (not when it is ours: installing again
  ; keeps the first remembered choice).
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 != "${OURS}"
    ReadRegStr $1 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    WriteRegStr HKCU "${PREVIOUS_KEY}" "SCRNSAVE.EXE" "$0"
    WriteRegStr HKCU "${PREVIOUS_KEY}" "ScreenSaveActive" "$1"
  ${EndIf}
  ; The user's screen saver, as the Screen Saver Settings would set it.
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "${OURS}"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Tolvanet"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$WINDIR\System32\Driftglass.scr"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Call un.FreeSaverFile
  ${If} $R9 == "moved"
    MessageBox MB_OK|MB_ICONINFORMATION "Driftglass #1 was still running. It is removed; the \
        copy that ran is deleted when Windows restarts." /SD IDOK
  ${ElseIf} ${FileExists} "$SYSDIR\Driftglass.scr"
    MessageBox MB_OK|MB_ICONSTOP "Driftglass.scr in $SYSDIR is in use and cannot be removed. \
        Close the screen saver and its preview in the display settings, then uninstall \
        again." /SD IDOK
    SetErrorLevel 2
    Abort "Driftglass.scr is in use and cannot be removed."
  ${EndIf}

  ; The logs an installed saver wrote: beside it where it could, else in the user's local
  ; application data.
  Delete "$SYSDIR\Driftglass.log"
  Delete "$SYSDIR\Driftglass.log.old"
  Delete "$SYSDIR\Driftglass-*.log"
  Delete "$SYSDIR\Driftglass-*.log.old"
  Delete "$LOCALAPPDATA\Driftglass\Driftglass*.log"
  Delete "$LOCALAPPDATA\Driftglass\Driftglass*.log.old"
  RMDir "$LOCALAPPDATA\Driftglass"

  ; While ours is the selected saver, the one the user had before comes back (or none). A
  ; saver chosen since is left as it is. The saver's settings (Software\Tolvanet\Driftglass
  ; #1 screensaver) are the user's and stay.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == "${OURS}"
    ReadRegStr $1 HKCU "${PREVIOUS_KEY}" "SCRNSAVE.EXE"
    ReadRegStr $2 HKCU "${PREVIOUS_KEY}" "ScreenSaveActive"
    ${If} $1 != ""
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$1"
      ${If} $2 == ""
        StrCpy $2 "1"
      ${EndIf}
      WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "$2"
    ${Else}
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
      WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "0"
    ${EndIf}
  ${EndIf}
  DeleteRegKey HKCU "${PREVIOUS_KEY}"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
