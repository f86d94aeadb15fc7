; The Windows installer: puts Driftglass.scr into the system folder, selects it as the user's
; screen saver, and registers an uninstaller under installed programs. /S runs it silently.
; makensis -DSCR=path\to\Driftglass.scr -DVERSION=1.0 -DOUTFILE=setup.exe installer.nsi
; A 64-bit installer for the 64-bit program: the system folder and the registry it sees are
; the program's own (no 32-bit redirection).
Target amd64-unicode
!include "LogicLib.nsh"

!ifndef SCR | VERSION | OUTFILE
  !error "define SCR, VERSION and OUTFILE"
!endif

!define PRODUCT "Driftglass #1"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Driftglass"
!define DESKTOP_KEY "Control Panel\Desktop"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
RequestExecutionLevel admin
ShowInstDetails show
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "Tolvanet"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright 2026 Tolvanet"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Install"
  SetOutPath "$SYSDIR"
  File "/oname=Driftglass.scr" "${SCR}"

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The user's screen saver, as the Screen Saver Settings would set it.
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$WINDIR\System32\Driftglass.scr"
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
  Delete /REBOOTOK "$SYSDIR\Driftglass.scr"

  ; The screen saver stays selected only if it is another one. The saver's settings
  ; (Software\Tolvanet) are the user's and stay.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == "$WINDIR\System32\Driftglass.scr"
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "0"
  ${EndIf}

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
