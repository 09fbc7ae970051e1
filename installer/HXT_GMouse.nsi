; The setup of HXT_GMouse: built by the hxt_setup target (cmake/win64.cmake) from the dist folder.
; makensis -DVERSION=1.0.0 -DDIST=<dist>/HXT_GMouse -DOUTFILE=<dist>/HXT_GMouse-setup.exe [-DICON=<ico>]
; Silent: HXT_GMouse-setup.exe /S [/D=C:\Folder]; uninstall.exe /S keeps the user's settings.

Unicode true
; Debian's Wine runs 64-bit programs only, and the program is 64-bit anyway.
Target amd64-unicode
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!ifndef VERSION
  !error "makensis needs -DVERSION=1.2.3"
!endif
!ifndef DIST
  !error "makensis needs -DDIST=, the dist folder the program was laid out in"
!endif
!ifndef OUTFILE
  !error "makensis needs -DOUTFILE="
!endif

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh

!define PROGRAM HXT_GMouse
!define EXE "${PROGRAM}.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PROGRAM}"

Name "${PROGRAM}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PROGRAM}"
; A later setup goes where the first one put the program.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PROGRAM} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PROGRAM}"
VIAddVersionKey /LANG=0 "FileDescription" "${PROGRAM} setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" ""

!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
; The chosen language is kept for the uninstaller and the next setup.
!define MUI_LANGDLL_REGISTRY_ROOT HKLM
!define MUI_LANGDLL_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "InstallerLanguage"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_RESERVEFILE_LANGDLL

LangString StartWithWindows ${LANG_ENGLISH} "Start with Windows"
LangString StartWithWindows ${LANG_SIMPCHINESE} "开机启动"
LangString RemoveSettings ${LANG_ENGLISH} "Remove my settings"
LangString RemoveSettings ${LANG_SIMPCHINESE} "删除我的设置"
LangString EndingRunningCopy ${LANG_ENGLISH} "Ending the running copy of ${PROGRAM} ..."
LangString EndingRunningCopy ${LANG_SIMPCHINESE} "正在关闭运行中的 ${PROGRAM} ..."
LangString StartupRefused ${LANG_ENGLISH} "${PROGRAM} could not be set to start with Windows; its own settings can do it later."
LangString StartupRefused ${LANG_SIMPCHINESE} "未能设置 ${PROGRAM} 开机启动，可稍后在程序中设置。"

; --------------------------------------------------------------------------------------------
; Ends a copy running from $INSTDIR the way its tray's Exit does, so its settings are saved and
; its files can be replaced. Status 1 (none was running) is as good as 0.
!macro QuitRunningCopy
  ${If} ${FileExists} "$INSTDIR\${EXE}"
    DetailPrint "$(EndingRunningCopy)"
    ExecWait '"$INSTDIR\${EXE}" --quit'
  ${EndIf}
!macroend

Function .onInit
  SetRegView 64
  SetShellVarContext all
  !insertmacro MUI_LANGDLL_DISPLAY
FunctionEnd

Section "-${PROGRAM}" SecProgram
  !insertmacro QuitRunningCopy
  SetOutPath "$INSTDIR"
  SetOverwrite on
  File "${DIST}\${EXE}"
  ; Whatever an older version shipped in skins is replaced as a whole.
  RMDir /r "$INSTDIR\skins"
  File /r "${DIST}\skins"
  ; The user's settings and macros survive a reinstall; only missing ones come from the setup.
  ; A config.ini laid down now starts in the language the setup was run in.
  StrCpy $1 0
  ${IfNot} ${FileExists} "$INSTDIR\config.ini"
    StrCpy $1 1
  ${EndIf}
  SetOverwrite off
  File "${DIST}\config.ini"
  ${If} $1 == 1
  ${AndIf} $LANGUAGE == ${LANG_SIMPCHINESE}
    WriteINIStr "$INSTDIR\config.ini" "Init" "VER_SEL" "0"
  ${EndIf}
  File "${DIST}\Macro_EN.dat"
  File "${DIST}\Macro_CN.dat"
  SetOverwrite on

  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PROGRAM}.lnk" "$INSTDIR\${EXE}"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PROGRAM}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\${EXE}",0'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; What the folder holds now, settings included, in KB as Windows shows it.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "$(StartWithWindows)" SecStartWithWindows
  ; The program registers its log-on task itself, as its own setting does.
  ExecWait '"$INSTDIR\${EXE}" --start-with-windows=on' $0
  ${If} $0 != 0
    DetailPrint "$(StartupRefused)"
  ${EndIf}
SectionEnd

; Unticked on a reinstall: the program no longer starts at log-on, as the user chose.
Section "-StartWithWindowsOff"
  ${IfNot} ${SectionIsSelected} ${SecStartWithWindows}
    ExecWait '"$INSTDIR\${EXE}" --start-with-windows=off'
  ${EndIf}
SectionEnd

; --------------------------------------------------------------------------------------------
Function un.onInit
  SetRegView 64
  SetShellVarContext all
  !insertmacro MUI_UNGETLANGUAGE
FunctionEnd

Section "-un.${PROGRAM}"
  !insertmacro QuitRunningCopy
  ExecWait '"$INSTDIR\${EXE}" --start-with-windows=off'
  Delete "$INSTDIR\${EXE}"
  RMDir /r "$INSTDIR\skins"
  Delete "$SMPROGRAMS\${PROGRAM}.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\uninstall.exe"
SectionEnd

; Off by default, and so never in a silent uninstall: the settings outlive the program.
Section /o "un.$(RemoveSettings)"
  ; With the side files the program leaves beside them (.saving, .unsaved, .unreadable...).
  Delete "$INSTDIR\config.ini"
  Delete "$INSTDIR\config.ini.*"
  Delete "$INSTDIR\Macro_EN.dat"
  Delete "$INSTDIR\Macro_EN.dat.*"
  Delete "$INSTDIR\Macro_CN.dat"
  Delete "$INSTDIR\Macro_CN.dat.*"
SectionEnd

Section "-un.folder"
  ; Only when nothing of the user's is left in it.
  RMDir "$INSTDIR"
SectionEnd
