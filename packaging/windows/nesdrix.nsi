; SPDX-FileCopyrightText: 2026 The Nesdrix developers
;
; SPDX-License-Identifier: Apache-2.0

; The Windows installer, made by scripts/build-windows.sh:
;   makensis -DVERSION=1.2.3.4 -DSOURCE=<the zip's folder> -DICON=<Nesdrix.ico>
;            -DOUTFILE=<setup.exe> nesdrix.nsi
; It installs the zip's folder into Program Files, adds Start menu entries and
; an uninstaller, and lets UDP port 102 in through Windows Firewall for the
; window and the CLI: the firewall passes a device's answer to a broadcast only
; for a few seconds, and a late answer, or a device's own datagram, not at all.

!ifndef VERSION | SOURCE | ICON | OUTFILE
  !error "VERSION, SOURCE, ICON and OUTFILE must be defined"
!endif

; A 64-bit installer for 64-bit programs: it writes the 64-bit registry and
; Program Files without redirection.
Target amd64-unicode
!include "MUI2.nsh"

!define PRODUCT "Nesdrix"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define FIREWALL_RULE "Nesdrix (UDP port 102)"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
; Program Files and the firewall need an administrator; Nesdrix itself does not.
RequestExecutionLevel admin
SetCompressor /SOLID lzma
VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} installer"
VIAddVersionKey /LANG=1033 "LegalCopyright" "The Nesdrix developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\nesdrix.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

; Start menu entries for every user of the computer.
Function .onInit
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

; The rules name the programs, so that no other program gets the port's datagrams in.
!macro FirewallRules verb
  nsExec::ExecToLog 'netsh advfirewall firewall ${verb} rule name="${FIREWALL_RULE}" dir=in action=allow protocol=UDP localport=102 program="$INSTDIR\nesdrix.exe" profile=any'
  Pop $0
  nsExec::ExecToLog 'netsh advfirewall firewall ${verb} rule name="${FIREWALL_RULE}" dir=in action=allow protocol=UDP localport=102 program="$INSTDIR\nesdrix-cli.exe" profile=any'
  Pop $0
!macroend

Section "Nesdrix"
  SetOutPath "$INSTDIR"
  File /r "${SOURCE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\nesdrix.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"

  ; A rule left by an earlier installation is replaced, not doubled.
  nsExec::ExecToLog 'netsh advfirewall firewall delete rule name="${FIREWALL_RULE}"'
  Pop $0
  !insertmacro FirewallRules add

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Nesdrix developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\nesdrix.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  nsExec::ExecToLog 'netsh advfirewall firewall delete rule name="${FIREWALL_RULE}"'
  Pop $0
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  ; Only what the installer put there: the user's own files stay.
  !include "${SOURCE}.uninstall.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
