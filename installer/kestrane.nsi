; Kestrane's installer. Built by CMake (target "installer"), which passes:
;   VERSION (3.0.1), FILE_VERSION (3.00.0001), VI_VERSION (3.0.0.1), EXE, CHM, ICON, OUTFILE.
; Silent with /S, for installs and for the uninstaller alike; the uninstaller's /FORGETDRIVES
; stops the user's permanent drive letters coming back at logon (see permanent_drives.nsh).

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!include "MUI2.nsh"
!include "x64.nsh"

!define APP "Kestrane"
!define PUBLISHER "Halvecki"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrane"
!define DATA_DIR "$APPDATA\Halvecki\Kestrane"
!define DATA_FILE "himem32.qor"

!addincludedir "${__FILEDIR__}"
!include "permanent_drives.nsh"

Name "${APP} - Pro ${VERSION}"
OutFile "${OUTFILE}"
; Program Files is shared by every user of the machine, so installing there needs an administrator.
RequestExecutionLevel admin
InstallDir "$PROGRAMFILES64\${APP}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PUBLISHER}"

VIProductVersion "${VI_VERSION}"
VIFileVersion "${VI_VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${APP}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${APP} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${FILE_VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A running Kestrane holds kestrane.exe open: ask the user to close it rather than fail half-way.
; Silent runs do not wait for anyone and end with exit code 2.
!macro WaitUntilClosed
  check_running:
    FindWindow $0 "KestraneMainWindow"
    ${If} $0 <> 0
      MessageBox MB_ICONEXCLAMATION|MB_RETRYCANCEL \
        "Kestrane is running. Please close it, then click Retry." /SD IDCANCEL IDRETRY check_running
      SetErrorLevel 2
      Quit
    ${EndIf}
!macroend

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP|MB_OK "${APP} needs a 64-bit version of Windows." /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
  !insertmacro WaitUntilClosed
FunctionEnd

Section "Kestrane" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "/oname=kestrane.exe" "${EXE}"
  File "/oname=qor.chm" "${CHM}"
  WriteUninstaller "$INSTDIR\uninst.exe"

  ; The program and its shortcut are the machine's.
  SetShellVarContext all
  CreateShortCut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\kestrane.exe" "" "$INSTDIR\kestrane.exe" 0 \
    SW_SHOWNORMAL "" "Give a folder a drive letter of its own"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${APP} - Pro"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kestrane.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninst.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninst.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMajor" 3
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMinor" 0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" 800  ; KiB

  ; The data file is the installing user's, in the per-user application-data folder.
  SetShellVarContext current
  Call CreateDataFile
SectionEnd

; Writes the data file in its initial state unless the user has one: an upgrade or a repair keeps the
; permanent letters already recorded. Two 1,250-byte records of zeros, except record 2's letter mask
; (offset 1,366) = 134,217,728, little-endian: 00 00 00 08. Written beside the real name and renamed
; at the end, so that a failed install never leaves a short file the program would take as its own.
Function CreateDataFile
  IfFileExists "${DATA_DIR}\${DATA_FILE}" done
  CreateDirectory "${DATA_DIR}"
  ClearErrors
  FileOpen $0 "${DATA_DIR}\${DATA_FILE}.new" w
  IfErrors failed
  StrCpy $1 0
  loop:
    ${If} $1 = 1369
      FileWriteByte $0 8
    ${Else}
      FileWriteByte $0 0
    ${EndIf}
    IntOp $1 $1 + 1
    IntCmp $1 2500 0 loop
  FileClose $0
  IfErrors failed
  ClearErrors
  Rename "${DATA_DIR}\${DATA_FILE}.new" "${DATA_DIR}\${DATA_FILE}"
  IfErrors failed done
  failed:
    Delete "${DATA_DIR}\${DATA_FILE}.new"
    MessageBox MB_ICONSTOP|MB_OK "Setup could not create the file $\"${DATA_DIR}\${DATA_FILE}$\"." /SD IDOK
    SetErrorLevel 2
    Abort
  done:
FunctionEnd

Function un.onInit
  SetRegView 64
  !insertmacro WaitUntilClosed
FunctionEnd

; Takes the program away and leaves the user's data file, so that a later install keeps the
; permanent letters, unless the user forgets them here. That comes first: once the program's
; folder has gone, a silent uninstall has done all it will do.
Section "Uninstall"
  Call un.PermanentDrives
  Delete "$INSTDIR\kestrane.exe"
  Delete "$INSTDIR\qor.chm"
  Delete "$INSTDIR\uninst.exe"
  RMDir "$INSTDIR"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${APP}.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
