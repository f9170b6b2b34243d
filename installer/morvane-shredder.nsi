; The Windows installer of MORVANE Shredder, built by the `installer` target of
; the win64 build (installer/CMakeLists.txt passes the defines below):
;
;   makensis -INPUTCHARSET UTF8 -DTARGET=x86-unicode|amd64-unicode -DVERSION=1.11
;            -DVERSION_QUAD=1.11.0.0 -DBIN64=<win64 bin> -DBIN32=<win32 bin>
;            -DICON=<app.ico> -DMENU_PACKAGE_DEFINES=<package.nsh> -DOUTFILE=<setup.exe>
;            morvane-shredder.nsi
;
; (installer/make_release.sh runs it so, and writes package.nsh.)
;
; One installer for both kinds of Windows: it carries the 64-bit and the 32-bit
; binaries and installs the ones that match the system. Nobody but
; administrators may write in the program folder: each account's settings
; and work folder live in the account's own folders, where the program
; puts them when it may not write beside itself (see RevokeUsersAccess).

Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true
ManifestSupportedOS all

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh
!include WinVer.nsh
!include WordFunc.nsh

!if ${NSIS_PTR_SIZE} > 4
  ; A 64-bit installer knows it runs on 64-bit Windows: x64.nsh makes
  ; RunningX64 a plain jump, whose other branch's label then goes unused.
  !pragma warning disable 6012
!endif

!define PRODUCT "MORVANE Shredder"
!define PUBLISHER "MORVANE"
!define WEB_PAGE "http://www.morvane.example/shredder/"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\MORVANE Shredder"
!define UNINSTALLER "uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\MORVANE Shredder.lnk"
; The program's windowed instance, found by its class and title.
!define RUNNING_CLASS "#32770"
!define RUNNING_TITLE "Tessaro"
; The recycle bin's verb that the options dialog adds, and the program path
; that every windowed start records for the Explorer extension.
!define RB_SHELL_KEY "CLSID\{645FF040-5081-101B-9F08-00AA002F954E}\shell"
!define RB_VERB_KEY "${RB_SHELL_KEY}\M-Shredder"
!define VENDOR_KEY "Software\Brinmoor"
!define PROGRAM_KEY "${VENDOR_KEY}\M-Shredder"
; BUILTIN\Users by its well-known SID, which icacls takes in every language.
!define USERS_SID "*S-1-5-32-545"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; No InstallDir: .onInit tells a folder given with /D= from none.
ShowInstDetails show
ShowUninstDetails show
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
; The progress pages stay until Next is pressed, so their details can be read.
!define MUI_FINISHPAGE_NOAUTOCLOSE
!define MUI_UNFINISHPAGE_NOAUTOCLOSE

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "Japanese"

LangString MsgRunning ${LANG_JAPANESE} "MORVANE Shredder が起動しています。$\n終了してから「再試行」を押してください。"
LangString MsgRegisterFailed ${LANG_JAPANESE} "エクスプローラーの右クリックメニューを登録できませんでした。"
LangString MsgAccessFailed ${LANG_JAPANESE} "以前のバージョンがインストール先フォルダの Users グループに与えた書き込みの権限を取り除けませんでした。"
LangString MsgKeepSettings ${LANG_JAPANESE} "設定ファイル OPTION.INI を残しますか？$\n「いいえ」を選ぶと、このアカウントの設定ファイルも削除します。ほかのアカウントの設定ファイルは残ります。"
LangString ShortcutComment ${LANG_JAPANESE} "ごみ箱の中身やファイルを完全に抹消します"
LangString LogMenuOlderWindows ${LANG_JAPANESE} "Windows 11 の右クリックメニュー: Windows のビルド $0 のため登録しません。右クリックメニューはこれまでどおりです。"
LangString LogMenuUnsigned ${LANG_JAPANESE} "Windows 11 の右クリックメニュー: 署名されたパッケージがないため登録しません。「その他のオプションを確認」から使えます。"
LangString LogMenuRegistered ${LANG_JAPANESE} "Windows 11 の右クリックメニューを登録しました。次回のサインインから表示されます。"
LangString LogMenuFailed ${LANG_JAPANESE} "Windows 11 の右クリックメニューを登録できませんでした (終了コード $1)。「その他のオプションを確認」から使えます。"
LangString LogMenuRemoved ${LANG_JAPANESE} "Windows 11 の右クリックメニューの登録を解除しました (終了コード $1)。"

VIProductVersion ${VERSION_QUAD}
VIFileVersion ${VERSION_QUAD}
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "${PRODUCT} セットアップ"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "Copyright (C) 2026 MORVANE. All rights reserved."

; The files of a running program cannot be replaced or removed: ask until it
; is closed. Silent runs give up at once.
!macro WaitUntilProgramClosed
  ${Do}
    FindWindow $0 "${RUNNING_CLASS}" "${RUNNING_TITLE}"
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(MsgRunning)" /SD IDCANCEL IDRETRY +2
    Abort
  ${Loop}
!macroend

; regsvr32 of the system's own bitness, so that the DLL's registration runs
; in the registry view Explorer reads. A 32-bit installer on 64-bit Windows
; reaches the 64-bit regsvr32 with the file-system redirection off.
!macro Regsvr32 switches result
  !if ${NSIS_PTR_SIZE} <= 4
    ${If} ${RunningX64}
      ${DisableX64FSRedirection}
    ${EndIf}
  !endif
  ExecWait '"$SYSDIR\regsvr32.exe" ${switches} "$INSTDIR\shredmenu.dll"' ${result}
  !if ${NSIS_PTR_SIZE} <= 4
    ${If} ${RunningX64}
      ${EnableX64FSRedirection}
    ${EndIf}
  !endif
!macroend

; On 64-bit Windows the open and save dialogs of 32-bit programs load 32-bit
; extensions only: the 32-bit DLL goes beside the 64-bit one, registered by
; the 32-bit regsvr32 in the 32-bit registry view. A system without 32-bit
; support (no SysWOW64 regsvr32) runs no such programs and gets none.
!define REGSVR32_WOW64 "$WINDIR\SysWOW64\regsvr32.exe"
!define DLL32 "shredmenu32.dll"

!macro Regsvr32Wow64 switches result
  ExecWait '"${REGSVR32_WOW64}" ${switches} "$INSTDIR\${DLL32}"' ${result}
!macroend

!macro UseSystemViews
  SetShellVarContext all
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
!macroend

; --- Windows 11's first right-click menu -----------------------------------
; Windows 11 lists there only commands of a package with identity. On build
; 22000 and later, when the release was signed, the package (its manifest
; alone) is registered with the install folder as its external location, for
; every account (each sees it from its next sign-in, when Explorer starts
; afresh). The classic menu stays registered whatever happens here; a
; failure is logged, never fatal. What happened goes into install.log beside
; the program, since a silent install shows no details.
!include "${MENU_PACKAGE_DEFINES}"
!define MENU_PACKAGE_FILE "morvane-shredder.msix"
!define MENU_PACKAGE_LOGO_FILE "morvane-shredder.png"
!define MENU_PACKAGE_FAMILY_VALUE "MenuPackageFamily"
!define INSTALL_LOG "install.log"
!ifdef SIGN_COMMAND
  ; The uninstaller, written into the setup, is signed before it is packed.
  !uninstfinalize '${SIGN_COMMAND} "%1"'
!endif

; Pops a line; shows it in the details and appends it to install.log
; (UTF-16, so that it reads right on any system).
Function InstallLog
  Exch $R0
  Push $R1
  Push $R2
  DetailPrint $R0
  ClearErrors
  FileOpen $R1 "$INSTDIR\${INSTALL_LOG}" a
  ${IfNot} ${Errors}
    FileSeek $R1 0 END $R2
    ${If} $R2 == 0
      FileWriteWord $R1 0xFEFF
    ${EndIf}
    FileWriteUTF16LE $R1 "$R0$\r$\n"
    FileClose $R1
  ${EndIf}
  Pop $R2
  Pop $R1
  Pop $R0
FunctionEnd

; Windows PowerShell of the system's own bitness (the Appx commands are not
; all there in the 32-bit one); the command's exit code in `result`, its
; output on the stack.
!macro MenuPowerShell command result
  !if ${NSIS_PTR_SIZE} <= 4
    ${If} ${RunningX64}
      ${DisableX64FSRedirection}
    ${EndIf}
  !endif
  nsExec::ExecToStack `"$WINDIR\System32\WindowsPowerShell\v1.0\powershell.exe" -NoLogo -NoProfile -NonInteractive -ExecutionPolicy Bypass -Command "$$ErrorActionPreference = 'Stop'; ${command}"`
  Pop ${result}
  !if ${NSIS_PTR_SIZE} <= 4
    ${If} ${RunningX64}
      ${EnableX64FSRedirection}
    ${EndIf}
  !endif
!macroend

; The package's family name (or nothing) in both registry views, where
; shredmenu.dll looks for it to keep its classic popup out of the menus that
; list the package's command.
!macro SetMenuPackageFamily value
  ${If} ${RunningX64}
    SetRegView 32
    WriteRegStr HKLM "${PROGRAM_KEY}" "${MENU_PACKAGE_FAMILY_VALUE}" "${value}"
    SetRegView 64
  ${EndIf}
  WriteRegStr HKLM "${PROGRAM_KEY}" "${MENU_PACKAGE_FAMILY_VALUE}" "${value}"
!macroend

Function RegisterMenuPackage
  Delete "$INSTDIR\${INSTALL_LOG}"
  ${WinVerGetBuild} $0
  ${If} $0 < 22000
    Push "$(LogMenuOlderWindows)"
    Call InstallLog
    Return
  ${EndIf}
  !ifndef MENU_PACKAGE
    Push "$(LogMenuUnsigned)"
    Call InstallLog
  !else
    File "/oname=${MENU_PACKAGE_FILE}" "${MENU_PACKAGE}"
    File "/oname=${MENU_PACKAGE_LOGO_FILE}" "${MENU_PACKAGE_LOGO}"
    ; In PowerShell's single quotes a quote is written twice.
    ${WordReplace} "$INSTDIR" "'" "''" "+" $2
    !insertmacro MenuPowerShell "Add-AppxPackage -Path '$2\${MENU_PACKAGE_FILE}' -Stage -ExternalLocation '$2'; Add-AppxProvisionedPackage -Online -PackagePath '$2\${MENU_PACKAGE_FILE}' -SkipLicense | Out-Null" $1
    Pop $3
    ${If} $1 == 0
      !insertmacro SetMenuPackageFamily "${MENU_PACKAGE_FAMILY}"
      Push "$(LogMenuRegistered)"
      Call InstallLog
    ${Else}
      Push "$(LogMenuFailed)"
      Call InstallLog
      Push $3
      Call InstallLog
    ${EndIf}
  !endif
FunctionEnd

; Before the files go: the package's surrogate may hold shredmenu.dll. Only
; where the install put a package; removing what is gone already does no harm.
Function un.RemoveMenuPackage
  ${If} ${FileExists} "$INSTDIR\${MENU_PACKAGE_FILE}"
  ${AndIf} ${AtLeastBuild} 22000
    !insertmacro MenuPowerShell "Get-AppxProvisionedPackage -Online | Where-Object { $$_.DisplayName -eq '${MENU_PACKAGE_NAME}' } | ForEach-Object { Remove-AppxProvisionedPackage -Online -PackageName $$_.PackageName | Out-Null }; Get-AppxPackage -AllUsers -Name '${MENU_PACKAGE_NAME}' | ForEach-Object { Remove-AppxPackage -Package $$_.PackageFullName -AllUsers }" $1
    Pop $2
    DetailPrint "$(LogMenuRemoved)"
  ${EndIf}
  ${If} ${RunningX64}
    SetRegView 32
    DeleteRegValue HKLM "${PROGRAM_KEY}" "${MENU_PACKAGE_FAMILY_VALUE}"
    DeleteRegKey /ifempty HKLM "${PROGRAM_KEY}"
    DeleteRegKey /ifempty HKLM "${VENDOR_KEY}"
    SetRegView 64
  ${EndIf}
  DeleteRegValue HKLM "${PROGRAM_KEY}" "${MENU_PACKAGE_FAMILY_VALUE}"
  DeleteRegKey /ifempty HKLM "${PROGRAM_KEY}"
  DeleteRegKey /ifempty HKLM "${VENDOR_KEY}"
  Delete "$INSTDIR\${MENU_PACKAGE_FILE}"
  Delete "$INSTDIR\${MENU_PACKAGE_LOGO_FILE}"
  Delete "$INSTDIR\${INSTALL_LOG}"
FunctionEnd
; ---------------------------------------------------------------------------

Function .onInit
  !insertmacro UseSystemViews
  ${If} $INSTDIR == ""
    ReadRegStr $INSTDIR HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${EndIf}
  ${If} $INSTDIR == ""
    ${If} ${RunningX64}
      StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    ${Else}
      StrCpy $INSTDIR "$PROGRAMFILES\${PRODUCT}"
    ${EndIf}
  ${EndIf}
  !insertmacro WaitUntilProgramClosed
FunctionEnd

; Puts a DLL in place even while Explorer (or a program's file dialog) holds
; the old one: a loaded DLL cannot be overwritten or deleted, but it can be
; renamed; the old file then goes at the next restart.
Function MoveLoadedDllAside
  Exch $1
  Delete "$INSTDIR\$1"
  ${If} ${FileExists} "$INSTDIR\$1"
    GetTempFileName $0 "$INSTDIR"
    Delete $0
    Rename "$INSTDIR\$1" $0
    Delete /REBOOTOK $0
  ${EndIf}
  Pop $1
FunctionEnd

; Earlier versions let the Users group write OPTION.INI here and make the
; work folder, so that any account could change every account's settings (a
; pass count of 0 among them) and the files of another's erase. Those
; explicit grants go, on OPTION.INI too, which stays as the defaults that a
; first start copies; what the folder inherits from Program Files stays.
Function RevokeUsersAccess
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR" /remove:g ${USERS_SID}'
  Pop $0
  StrCpy $1 0
  ${If} ${FileExists} "$INSTDIR\OPTION.INI"
    nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR\OPTION.INI" /remove:g ${USERS_SID}'
    Pop $1
  ${EndIf}
  ${If} $0 != 0
  ${OrIf} $1 != 0
    DetailPrint "icacls: $0 $1"
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(MsgAccessFailed)" /SD IDOK
    SetErrorLevel 2
  ${EndIf}
FunctionEnd

Section
  SetOutPath "$INSTDIR"
  Push "shredmenu.dll"
  Call MoveLoadedDllAside
  Push "${DLL32}"
  Call MoveLoadedDllAside
  ${If} ${RunningX64}
    File "${BIN64}/binshredder.exe"
    File "${BIN64}/shredmenu.dll"
    ${If} ${FileExists} "${REGSVR32_WOW64}"
      File "/oname=${DLL32}" "${BIN32}/shredmenu.dll"
    ${EndIf}
  ${Else}
    File "${BIN32}/binshredder.exe"
    File "${BIN32}/shredmenu.dll"
  ${EndIf}
  File "${BIN64}/morvane-shredder.chm"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  Call RevokeUsersAccess
  ; An earlier version's work folder, unused now.
  Push "$INSTDIR\work_temp"
  Call RemoveWorkFolder

  !insertmacro Regsvr32 "/s" $0
  StrCpy $1 0
  ${If} ${FileExists} "$INSTDIR\${DLL32}"
    !insertmacro Regsvr32Wow64 "/s" $1
  ${EndIf}
  ${If} $0 != 0
  ${OrIf} $1 != 0
    DetailPrint "regsvr32: $0 $1"
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(MsgRegisterFailed)" /SD IDOK
    SetErrorLevel 2
  ${EndIf}
  Call RegisterMenuPackage

  CreateShortcut "${SHORTCUT}" "$INSTDIR\binshredder.exe" "" "$INSTDIR\binshredder.exe" 0 SW_SHOWNORMAL "" "$(ShortcutComment)"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${WEB_PAGE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\binshredder.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  !insertmacro UseSystemViews
  !insertmacro WaitUntilProgramClosed
FunctionEnd

; Pops a command line or a path; pushes 1 when it names the installed
; binshredder.exe, in double quotes or bare (then followed by a blank or
; nothing), else 0. Case does not matter, as in Windows paths.
Function un.NamesInstalledProgram
  Exch $0
  Push $1
  Push $2
  Push $3
  StrCpy $1 "$INSTDIR\binshredder.exe"
  StrCpy $2 $0 1
  ${If} $2 == '"'
    StrCpy $1 '"$1"'
  ${EndIf}
  StrLen $3 $1
  StrCpy $2 $0 $3
  StrCpy $3 $0 1 $3
  ${If} $2 != $1
    StrCpy $0 0
  ${ElseIf} $3 == ""
  ${OrIf} $3 == " "
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Pops the path of a work folder "work_temp" and removes it. It holds at
; most files left by an interrupted erase, and earlier versions let every
; user change it: a link put in its place or inside it is removed as a link,
; never followed.
!macro RemoveWorkFolderFunction UN
Function ${UN}RemoveWorkFolder
  Exch $0
  Push $1
  ${If} ${FileExists} "$0\*.*"
    ${GetFileAttributes} $0 "REPARSE_POINT" $1
    ${If} $1 != 1
      Delete "$0\*.*"
    ${EndIf}
    RMDir $0
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro RemoveWorkFolderFunction ""
!insertmacro RemoveWorkFolderFunction "un."

Section Uninstall
  Call un.RemoveMenuPackage
  !insertmacro Regsvr32 "/u /s" $0
  DetailPrint "regsvr32 /u: $0"
  ${If} ${FileExists} "$INSTDIR\${DLL32}"
  ${AndIf} ${FileExists} "${REGSVR32_WOW64}"
    !insertmacro Regsvr32Wow64 "/u /s" $0
    DetailPrint "regsvr32 /u (32-bit): $0"
  ${EndIf}

  ReadRegStr $0 HKCR "${RB_VERB_KEY}\command" ""
  Push $0
  Call un.NamesInstalledProgram
  Pop $1
  ${If} $1 == 1
    DeleteRegKey HKCR "${RB_VERB_KEY}"
    ; The shell key goes too when no verb is left under it and its default
    ; value names no default verb (the program makes it with an empty one).
    ReadRegStr $2 HKCR "${RB_SHELL_KEY}" ""
    ${If} $2 == ""
      DeleteRegKey /ifnosubkeys HKCR "${RB_SHELL_KEY}"
    ${EndIf}
  ${EndIf}

  ; The administrator's own record of the program path; other accounts keep
  ; theirs, which the extension no longer reads.
  ReadRegStr $0 HKCU "${PROGRAM_KEY}" "Path"
  Push $0
  Call un.NamesInstalledProgram
  Pop $1
  ${If} $1 == 1
    DeleteRegValue HKCU "${PROGRAM_KEY}" "Path"
    DeleteRegKey /ifempty HKCU "${PROGRAM_KEY}"
    DeleteRegKey /ifempty HKCU "${VENDOR_KEY}"
  ${EndIf}

  Delete "$INSTDIR\binshredder.exe"
  ; Explorer may still hold the DLL: then it goes at the next restart.
  Delete /REBOOTOK "$INSTDIR\shredmenu.dll"
  Delete /REBOOTOK "$INSTDIR\${DLL32}"
  Delete "$INSTDIR\morvane-shredder.chm"
  Push "$INSTDIR\work_temp"
  Call un.RemoveWorkFolder
  ; The account that uninstalls: its work folders go; its settings, and the
  ; defaults left in the program folder, only when it says so. Other
  ; accounts keep theirs: they are theirs.
  SetShellVarContext current
  Push "$LOCALAPPDATA\${PRODUCT}\work_temp"
  Call un.RemoveWorkFolder
  RMDir "$LOCALAPPDATA\${PRODUCT}"
  Push "$TEMP\${PRODUCT}\work_temp"
  Call un.RemoveWorkFolder
  RMDir "$TEMP\${PRODUCT}"
  ${If} ${FileExists} "$INSTDIR\OPTION.INI"
  ${OrIf} ${FileExists} "$APPDATA\${PRODUCT}\OPTION.INI"
    MessageBox MB_YESNO|MB_ICONQUESTION "$(MsgKeepSettings)" /SD IDYES IDYES settings_kept
    Delete "$INSTDIR\OPTION.INI"
    Delete "$APPDATA\${PRODUCT}\OPTION.INI"
    RMDir "$APPDATA\${PRODUCT}"
    settings_kept:
  ${EndIf}
  SetShellVarContext all
  Delete "${SHORTCUT}"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only when empty; a kept OPTION.INI keeps it. A DLL still in use goes at
  ; the next restart, and the folder with it.
  ${If} ${RebootFlag}
    RMDir /REBOOTOK "$INSTDIR"
  ${Else}
    RMDir "$INSTDIR"
  ${EndIf}
  ; Last, so that a gone entry means a finished uninstall.
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
