; The drive letters that come back at every logon once Kestrane is gone: the "subst" lines it
; wrote to subit.bat in the user's Startup folder, and record 2's letter mask in the data file.
; The uninstaller forgets them as File > Restore does for the permanent part, when a person says
; so or the command line asks for it with /FORGETDRIVES. Included by kestrane.nsi, which defines
; DATA_DIR and DATA_FILE.

!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define BATCH "subit.bat"
!define FORGET_SWITCH "/FORGETDRIVES"
; Record 2's letter mask, bytes 1,366 to 1,369; a new data file holds 00 00 00 08 there.
!define MASK_OFFSET 1366
!define MASK_END 1370

Var Batch             ; subit.bat, open for reading
Var Rewritten         ; its new text, written beside it
Var LineLetter        ; 1 for A ... 26 for Z where the line is Kestrane's; 0 for any other line
Var AtEnd             ; 1 once the batch file has no line left
Var LetterFlags       ; "|" and a character a letter: "+" where a line names it
Var PermanentLetters  ; "P:, Q:", in letter order; empty when no line names a letter
Var LetterCount

; Reads the start of the line at the file position, then goes back to it. The line is Kestrane's
; when it starts with the word subst, in any case, and its 7th character is a drive letter, as the
; program reads them: subst P: "C:\Data". Bytes rather than text, so no code page is guessed and
; the lines that stay are written back as they were.
Function un.ReadLineLetter
  FileSeek $Batch 0 CUR $R0
  StrCpy $LineLetter 0
  StrCpy $AtEnd 0
  StrCpy $R1 0
  ${Do}
    ClearErrors
    FileReadByte $Batch $R2
    ${If} ${Errors}
      ${IfThen} $R1 = 0 ${|} StrCpy $AtEnd 1 ${|}
      ${Break}
    ${EndIf}
    ${IfThen} $R2 = 10 ${|} ${Break} ${|}
    ${If} $R2 >= 97
    ${AndIf} $R2 <= 122
      IntOp $R2 $R2 - 32
    ${EndIf}
    ${If} $R1 < 5
      IntOp $R3 $R1 * 2
      StrCpy $R3 "8385668384" 2 $R3  ; S U B S T
      ${IfThen} $R2 <> $R3 ${|} ${Break} ${|}
    ${ElseIf} $R1 = 6
      ${If} $R2 >= 65
      ${AndIf} $R2 <= 90
        IntOp $LineLetter $R2 - 64
      ${EndIf}
      ${Break}
    ${EndIf}
    IntOp $R1 $R1 + 1
  ${Loop}
  FileSeek $Batch $R0 SET
FunctionEnd

; Moves past the line at the file position and its line feed. With $R9 = 1 it copies the line to
; the new text, sets $R8 = 1 when the line holds more than blanks and $R7 = 1 when a write fails.
Function un.PassLine
  ${Do}
    ClearErrors
    FileReadByte $Batch $R0
    ${IfThen} ${Errors} ${|} ${Break} ${|}
    ${If} $R9 = 1
      FileWriteByte $Rewritten $R0
      ${IfThen} ${Errors} ${|} StrCpy $R7 1 ${|}
      ; Blanks as the program counts them: tab, line and page breaks, space.
      ${If} $R0 <> 32
        ${If} $R0 < 9
        ${OrIf} $R0 > 13
          StrCpy $R8 1
        ${EndIf}
      ${EndIf}
    ${EndIf}
    ${IfThen} $R0 = 10 ${|} ${Break} ${|}
  ${Loop}
FunctionEnd

; The letters Kestrane's lines of subit.bat name, for the question.
Function un.FindPermanentLetters
  StrCpy $PermanentLetters ""
  StrCpy $LetterCount 0
  StrCpy $LetterFlags "|--------------------------"
  ClearErrors
  FileOpen $Batch "$SMSTARTUP\${BATCH}" r
  ${IfThen} ${Errors} ${|} Return ${|}
  StrCpy $R9 0
  ${Do}
    Call un.ReadLineLetter
    ${IfThen} $AtEnd = 1 ${|} ${Break} ${|}
    ${If} $LineLetter > 0
      StrCpy $R5 $LetterFlags $LineLetter
      IntOp $R6 $LineLetter + 1
      StrCpy $R6 $LetterFlags "" $R6
      StrCpy $LetterFlags "$R5+$R6"
    ${EndIf}
    Call un.PassLine
  ${Loop}
  FileClose $Batch
  ${For} $R5 1 26
    StrCpy $R6 $LetterFlags 1 $R5
    ${If} $R6 == "+"
      IntOp $R6 $R5 + 64
      IntFmt $R6 "%c" $R6
      ${IfThen} $LetterCount > 0 ${|} StrCpy $PermanentLetters "$PermanentLetters, " ${|}
      StrCpy $PermanentLetters "$PermanentLetters$R6:"
      IntOp $LetterCount $LetterCount + 1
    ${EndIf}
  ${Next}
FunctionEnd

; Takes Kestrane's lines out of subit.bat and keeps every other line as it was, in its order; a
; file left with nothing but blank lines is deleted. The new text replaces the old in one move, so
; a failure leaves the file as it was. A read-only file is left alone, as the program leaves it.
; $R5 = 0 when it could not.
Function un.ForgetLines
  StrCpy $R5 1
  ${IfThen} $PermanentLetters == "" ${|} Return ${|}
  StrCpy $R5 0
  ${un.GetFileAttributes} "$SMSTARTUP\${BATCH}" "READONLY" $R6
  ${IfThen} $R6 = 1 ${|} Return ${|}
  ClearErrors
  FileOpen $Batch "$SMSTARTUP\${BATCH}" r
  ${IfThen} ${Errors} ${|} Return ${|}
  FileOpen $Rewritten "$SMSTARTUP\${BATCH}.new" w
  ${If} ${Errors}
    FileClose $Batch
    Return
  ${EndIf}
  StrCpy $R5 1
  StrCpy $R7 0
  StrCpy $R8 0
  ${Do}
    Call un.ReadLineLetter
    ${IfThen} $AtEnd = 1 ${|} ${Break} ${|}
    ${If} $LineLetter = 0
      StrCpy $R9 1
    ${Else}
      StrCpy $R9 0
    ${EndIf}
    Call un.PassLine
  ${Loop}
  FileClose $Batch
  FileClose $Rewritten
  ${If} $R7 = 1
    StrCpy $R5 0
  ${ElseIf} $R8 = 0
    ClearErrors
    Delete "$SMSTARTUP\${BATCH}"
    ${IfThen} ${Errors} ${|} StrCpy $R5 0 ${|}
  ${Else}
    ; MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH
    System::Call 'kernel32::MoveFileExW(w "$SMSTARTUP\${BATCH}.new", w "$SMSTARTUP\${BATCH}", i 9) i .R6'
    ${IfThen} $R6 = 0 ${|} StrCpy $R5 0 ${|}
  ${EndIf}
  Delete "$SMSTARTUP\${BATCH}.new"
FunctionEnd

; Puts the letter mask back to its initial value, 134,217,728, and leaves every other byte as it
; is. A missing data file has nothing to forget; one too short to hold the mask is not the
; program's to mend here. $R5 = 0 when it could not be written.
Function un.ResetLetterMask
  StrCpy $R5 1
  IfFileExists "${DATA_DIR}\${DATA_FILE}" 0 done
  ClearErrors
  FileOpen $R6 "${DATA_DIR}\${DATA_FILE}" a
  IfErrors failed
  FileSeek $R6 0 END $R7
  ${If} $R7 >= ${MASK_END}
    FileSeek $R6 ${MASK_OFFSET} SET
    FileWriteByte $R6 0
    FileWriteByte $R6 0
    FileWriteByte $R6 0
    FileWriteByte $R6 8
  ${EndIf}
  FileClose $R6
  IfErrors failed done
  failed:
    StrCpy $R5 0
  done:
FunctionEnd

; A person is asked, where a line names a letter; a silent uninstall keeps the letters, as it keeps
; the data file, unless the command line holds /FORGETDRIVES, which forgets them without asking.
; The drives there now are left alone: they go when the user logs off, and one may be in use.
Function un.PermanentDrives
  SetShellVarContext current
  Call un.FindPermanentLetters
  ${un.GetParameters} $R5
  ClearErrors
  ${un.GetOptions} $R5 "${FORGET_SWITCH}" $R6
  ${If} ${Errors}
    ${IfThen} $PermanentLetters == "" ${|} Return ${|}
    ${If} $LetterCount = 1
      StrCpy $R7 "This drive letter comes back at every logon: $PermanentLetters.$\r$\n\
        subit.bat in your Startup folder makes it, also once Kestrane is removed.$\r$\n$\r$\n\
        Do you want it to stop coming back?"
    ${Else}
      StrCpy $R7 "These drive letters come back at every logon: $PermanentLetters.$\r$\n\
        subit.bat in your Startup folder makes them, also once Kestrane is removed.$\r$\n$\r$\n\
        Do you want them to stop coming back?"
    ${EndIf}
    MessageBox MB_ICONQUESTION|MB_YESNO "$R7$\r$\n(A drive that is there now stays until you log off.)" \
      /SD IDNO IDYES forget
    Return
  ${EndIf}
  forget:
  Call un.ForgetLines
  ${If} $R5 = 0
    MessageBox MB_ICONEXCLAMATION|MB_OK "subit.bat in your Startup folder could not be changed: \
      $PermanentLetters still come back at every logon." /SD IDOK
    Return
  ${EndIf}
  Call un.ResetLetterMask
  ${If} $R5 = 0
    MessageBox MB_ICONEXCLAMATION|MB_OK "The file $\"${DATA_DIR}\${DATA_FILE}$\" could not be \
      changed: it still lists the permanent drive letters, which no longer come back at logon." \
      /SD IDOK
  ${EndIf}
FunctionEnd
