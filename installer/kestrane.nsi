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
; Explorer's verb on a folder and on the background of an open folder, for every user.
!define VERB "Kestrane.DriveLetter"
!define FOLDER_VERB "Software\Classes\Directory\shell\${VERB}"
!define BACKGROUND_VERB "Software\Classes\Directory\Background\shell\${VERB}"

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

!macro WriteFolderVerb KEY ARGUMENT
  WriteRegStr HKLM "${KEY}" "" "Give it a drive &letter"
  WriteRegStr HKLM "${KEY}" "Icon" '"$INSTDIR\kestrane.exe",0'
  WriteRegStr HKLM "${KEY}\command" "" '"$INSTDIR\kestrane.exe" "${ARGUMENT}"'
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

  ; Plain verbs: Explorer starts the program with the folder (%1 for the folder clicked, %V for
  ; the open one), so nothing of ours runs inside Explorer.
  !insertmacro WriteFolderVerb "${FOLDER_VERB}" "%1"
  !insertmacro WriteFolderVerb "${BACKGROUND_VERB}" "%V"

  ; The data file is the installing user's, in the per-user application-data folder.
  SetShellVarContext current
  Call CreateDataFile
SectionEnd

; Writes the data file in its initial state unless the user has a whole one: an upgrade or a repair
; keeps the permanent letters already recorded. Two 1,250-byte records of zeros, except record 2's letter mask
; (offset 1,366) = 134,217,728, little-endian: 00 00 00 08. Written beside the real name and renamed
; at the end, so that a failed install never leaves a short file the program would take as its own.
; A file of any other size is one the program refuses ("missing or corrupt", reinstall): it is
; replaced, and kept beside the new one under a name of its own, so nothing the user had is lost.
Function CreateDataFile
  IfFileExists "${DATA_DIR}\${DATA_FILE}" 0 create
  Call IsDataFileWhole
  StrCmp $0 1 done
  create:
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
  Call KeepDamagedDataFile
  IfErrors not_kept
  ClearErrors
  Rename "${DATA_DIR}\${DATA_FILE}.new" "${DATA_DIR}\${DATA_FILE}"
  IfErrors failed
  StrCmp $2 "" done
  DetailPrint "Damaged data file (not 2,500 bytes long): ${DATA_DIR}\${DATA_FILE}"
  DetailPrint "Kept beside it as $2 and replaced with a new data file."
  Goto done
  not_kept:
    Delete "${DATA_DIR}\${DATA_FILE}.new"
    MessageBox MB_ICONSTOP|MB_OK "Setup could not replace the damaged file \
      $\"${DATA_DIR}\${DATA_FILE}$\"." /SD IDOK
    Goto quit
  failed:
    Delete "${DATA_DIR}\${DATA_FILE}.new"
    MessageBox MB_ICONSTOP|MB_OK "Setup could not create the file $\"${DATA_DIR}\${DATA_FILE}$\"." /SD IDOK
  quit:
    SetErrorLevel 2
    Abort
  done:
FunctionEnd

; $0 = 1 when the data file is one the program reads: a file (not a folder) of exactly 2,500 bytes.
; The file system is asked for its whole size, so a file past 4 GiB is not taken for its remainder,
; and a file another program holds open is still measured.
Function IsDataFileWhole
  StrCpy $0 0
  ; WIN32_FILE_ATTRIBUTE_DATA: attributes, three times of two halves, size high and low.
  System::Call '*(i, i, i, i, i, i, i, i, i) p .r1'
  System::Call 'kernel32::GetFileAttributesExW(w "${DATA_DIR}\${DATA_FILE}", i 0, p r1) i .r2'
  System::Call '*$1(i .r3, i, i, i, i, i, i, i .r4, i .r5)'
  System::Free $1
  ${If} $2 <> 0
  ${AndIf} $4 = 0
  ${AndIf} $5 = 2500
    IntOp $3 $3 & 0x10  ; FILE_ATTRIBUTE_DIRECTORY
    ${IfThen} $3 = 0 ${|} StrCpy $0 1 ${|}
  ${EndIf}
FunctionEnd

; Moves a damaged data file out of the way, to himem32.qor.bad or, where an earlier one was kept,
; the first free himem32.qor.bad2, .bad3, ...: a kept copy is never overwritten. $2 = the name it
; is kept under, empty when there was none; the error flag is set when it could not be moved.
Function KeepDamagedDataFile
  StrCpy $2 ""
  IfFileExists "${DATA_DIR}\${DATA_FILE}" 0 done
  StrCpy $2 "${DATA_FILE}.bad"
  StrCpy $3 1
  ${DoWhile} ${FileExists} "${DATA_DIR}\$2"
    IntOp $3 $3 + 1
    StrCpy $2 "${DATA_FILE}.bad$3"
  ${Loop}
  ClearErrors
  Rename "${DATA_DIR}\${DATA_FILE}" "${DATA_DIR}\$2"
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
  ; Only the verbs' own keys: other programs' verbs share the shell keys above them.
  DeleteRegKey HKLM "${FOLDER_VERB}"
  DeleteRegKey HKLM "${BACKGROUND_VERB}"
SectionEnd
