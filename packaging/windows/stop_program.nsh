; Ending the running copies of the installed program before its files are replaced or removed.
; The program watches the named event below; once it is set, it unloads as after Ctrl-C (the
; exchange under way ends within its own time-outs, the port is closed). Its processes are
; then waited for, at most STOP_BUDGET_MS. A copy that is still running then (one in another
; user's session does not see this session's event) leaves the choice to retry or give up:
; its program file cannot be replaced while it runs.

!include LogicLib.nsh

!define STOP_EVENT "Zelmar1-Stop"
!define STOP_BUDGET_MS 30000
!define EVENT_MODIFY_STATE 0x0002
!define SYNCHRONIZE_QUERY_LIMITED 0x00101000  ; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION
!define WAIT_OBJECT_0 0
!define PROCESS_ID_BYTES 65536                 ; room for 16384 process ids

; Functions for the installer (PREFIX "") or the uninstaller (PREFIX "un."): NSIS keeps the
; two apart by name.
!macro DEFINE_STOP_PROGRAM PREFIX

; Sets the stop event, then waits for every process of "$INSTDIR\zelmar1.exe" to end. Pushes how
; many still run when the budget has passed.
Function ${PREFIX}SignalStopAndWait
  System::Store "s"
  System::Call 'kernel32::OpenEventA(i ${EVENT_MODIFY_STATE}, i 0, m "${STOP_EVENT}") p .r1'
  ${If} $1 P<> 0
    System::Call 'kernel32::SetEvent(p r1)'
    System::Call 'kernel32::CloseHandle(p r1)'
  ${EndIf}
  System::Call 'kernel32::GetTickCount64() l .r2'
  System::Int64Op $2 + ${STOP_BUDGET_MS}
  Pop $2  ; the deadline
  StrCpy $0 0  ; copies still running
  System::Alloc ${PROCESS_ID_BYTES}
  Pop $3
  System::Call 'kernel32::K32EnumProcesses(p r3, i ${PROCESS_ID_BYTES}, *i .r4) i .r5'
  ${If} $5 = 0
    StrCpy $4 0
  ${EndIf}
  StrCpy $5 0  ; byte offset of the next process id
  ${DoWhile} $5 < $4
    IntPtrOp $6 $3 + $5
    System::Call '*$6(i .r6)'
    IntOp $5 $5 + 4
    System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE_QUERY_LIMITED}, i 0, i r6) p .r7'
    ${If} $7 P= 0
      ${Continue}  ; ended meanwhile, or not ours to see
    ${EndIf}
    System::Call 'kernel32::QueryFullProcessImageNameA(p r7, i 0, m .r8, *i ${NSIS_MAX_STRLEN}) i .r9'
    ${If} $9 <> 0
    ${AndIf} $8 == "$INSTDIR\zelmar1.exe"
      System::Call 'kernel32::GetTickCount64() l .r9'
      System::Int64Op $2 - $9
      Pop $9
      System::Int64Op $9 < 0
      Pop $R0
      ${If} $R0 <> 0
        StrCpy $9 0
      ${EndIf}
      System::Call 'kernel32::WaitForSingleObject(p r7, i r9) i .r9'
      ${If} $9 <> ${WAIT_OBJECT_0}
        IntOp $0 $0 + 1
      ${EndIf}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r7)'
  ${Loop}
  System::Free $3
  Push $0
  System::Store "l"
FunctionEnd

; Stops the program; when a copy keeps running, asks to retry and otherwise aborts (a silent
; run gives up at once, with exit status 2).
Function ${PREFIX}StopProgram
  Push $0
  retry:
    Call ${PREFIX}SignalStopAndWait
    Pop $0
    ${If} $0 <> 0
      DetailPrint "Zelmar1 ancora in esecuzione dopo la richiesta di chiusura"
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Zelmar1 e' ancora in esecuzione (anche in un'altra sessione utente?).$\r$\nChiuderlo e riprovare." \
        /SD IDCANCEL IDRETRY retry
      Abort
    ${EndIf}
  Pop $0
FunctionEnd

!macroend
