; zelmar1-setup.exe: installs Zelmar1 for all users of a 64-bit Windows. Built by the CMake
; target "installer" of the Windows build:
;   makensis -DVERSION=a.b.0.c -DPROGRAM_EXE=zelmar1.exe -DREADME=README.md -DOUTFILE=... zelmar1.nsi
; Silent use: zelmar1-setup.exe /S, and "C:\Program Files\Zelmar1\uninstall.exe" /S.

!ifndef VERSION | PROGRAM_EXE | README | OUTFILE
  !error "makensis needs -DVERSION, -DPROGRAM_EXE, -DREADME and -DOUTFILE"
!endif

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include stop_program.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelmar1"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; With the all-users shell context, $APPDATA is the common application-data folder. The
; program's data folder is this fixed sub-folder of it, which the program never creates.
!define DATA_FOLDER "$APPDATA\TELVOZELMAR1"
; The settings files. The program's own folder under Program Files is not writable for the
; users who run it, so it is told where they are.
!define SETTINGS_FOLDER "$APPDATA\Zelmar1"
!define PROGRAM_COMMAND '"$INSTDIR\zelmar1.exe" --program-dir "${SETTINGS_FOLDER}"'
; The point-of-sale application and the program run as whichever user is logged on: all local
; users (the well-known SID, whatever the language of Windows) may change the folders' files.
!define USERS_MAY_CHANGE "*S-1-5-32-545:(OI)(CI)M"

Name "Zelmar1"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Zelmar1"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Zelmar1 ${VERSION}"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=0 "ProductName" "Zelmar1"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Zelmar1 - installazione"
VIAddVersionKey /LANG=0 "CompanyName" "Zelmar1 developers"
VIAddVersionKey /LANG=0 "LegalCopyright" "Zelmar1 developers"

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

!insertmacro DEFINE_STOP_PROGRAM ""
!insertmacro DEFINE_STOP_PROGRAM "un."

!macro ALL_USERS_64_BIT
  SetShellVarContext all
  SetRegView 64
!macroend

Function .onInit
  !insertmacro ALL_USERS_64_BIT
FunctionEnd

Function un.onInit
  !insertmacro ALL_USERS_64_BIT
FunctionEnd

; Creates FOLDER (kept by the uninstaller) and lets every local user change its files.
!macro SHARED_FOLDER FOLDER
  CreateDirectory "${FOLDER}"
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "${FOLDER}" /grant ${USERS_MAY_CHANGE} /Q'
  Pop $0
  ${If} $0 != 0
    DetailPrint "icacls ${FOLDER}: $0"
  ${EndIf}
!macroend

Section "Zelmar1"
  Call StopProgram  ; an update over a running copy
  SetOutPath "$INSTDIR"
  File "/oname=zelmar1.exe" "${PROGRAM_EXE}"
  File "/oname=README.md" "${README}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  !insertmacro SHARED_FOLDER "${DATA_FOLDER}"
  !insertmacro SHARED_FOLDER "${SETTINGS_FOLDER}"

  CreateShortcut "$SMPROGRAMS\Zelmar1.lnk" "$INSTDIR\zelmar1.exe" \
    '--program-dir "${SETTINGS_FOLDER}"' "$INSTDIR\zelmar1.exe" 0
  ; Always there: started at every user's log-on, in the notification area.
  WriteRegStr HKLM "${RUN_KEY}" "Zelmar1" '${PROGRAM_COMMAND}'

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Zelmar1"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Zelmar1 developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zelmar1.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize 0 $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The data folder holds the point-of-sale application's files and the settings folder the
; operator's choices: both stay, as they would for a new installation.
Section "Uninstall"
  Call un.StopProgram
  DeleteRegValue HKLM "${RUN_KEY}" "Zelmar1"
  Delete "$SMPROGRAMS\Zelmar1.lnk"
  Delete "$INSTDIR\zelmar1.exe"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
