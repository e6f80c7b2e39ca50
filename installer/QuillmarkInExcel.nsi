; The setup program of Quillmark in Excel: installs the add-in for the current user only
; (no administrator rights), registers it through the DLL's own per-user registration and
; writes the uninstaller.
;
; installer/CMakeLists.txt builds it with makensis and defines:
;   VERSION        the version users see (1.01)
;   VERSION_QUAD   the same as four numbers for the version tab (1.1.0.0)
;   DLL_FILE       the built QuillmarkInExcel.dll
;   README_EN      README_JA   the read-me texts, ready to ship (CRLF)
;   OUT_FILE       where the setup program is written
;   TARGET         (64-bit test build only) amd64-unicode
;
; Exit codes (what a silent run reports):
;   0  done
;   1  cancelled by the user (NSIS's own code)
;   2  stopped by NSIS itself
;   3  the add-in's DLL is in use (Excel is running); nothing was changed
;   4  the DLL's registration failed

Unicode true
; The 64-bit test build makes a 64-bit setup program (never shipped), as its DLL is 64-bit:
; installer/CMakeLists.txt then defines TARGET (amd64-unicode).
!ifdef TARGET
  Target ${TARGET}
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel user

!ifndef VERSION | VERSION_QUAD | DLL_FILE | README_EN | README_JA | OUT_FILE
  !error "Build this script through CMake (the qm_installer target), which defines its inputs."
!endif

!define PRODUCT "Quillmark in Excel"
!define PUBLISHER "Quillmark"
!define DLL_NAME "QuillmarkInExcel.dll"
!define README_EN_NAME "ReadMe.txt"
!define README_JA_NAME "ReadMe-ja.txt"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QuillmarkInExcel"
!define SETTINGS_KEY "Software\VB and VBA Program Settings\NVK_QM_ZUZEVADE"
; The keys the DLL's registration writes under HKCU. The uninstaller deletes them itself
; only when the DLL cannot unregister (it was deleted or damaged by hand).
!define PROGID_KEY "Software\Classes\QuillmarkInExcel.Connect"
!define CLSID_KEY "Software\Classes\CLSID\{C9221B4E-05B8-4B67-B61A-750F152675BC}"
!define EXCEL_ADDIN_KEY "Software\Microsoft\Office\Excel\Addins\QuillmarkInExcel.Connect"

!define EXIT_IN_USE 3
!define EXIT_REGISTRATION_FAILED 4

; GetLocaleInfoA's arguments, as the add-in passes them to choose its own language.
!define LOCALE_USER_DEFAULT 0x0400
!define LOCALE_SENGCOUNTRY 0x1002

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
InstallDir "$LOCALAPPDATA\${PRODUCT}"
; Installing again goes where the earlier install is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh
!include WinMessages.nsh

!define MUI_ABORTWARNING
!define MUI_UNABORTWARNING
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\$(README_FILE)"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

UninstPage custom un.OptionsPageShow un.OptionsPageLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"
!include "lang\English.nsh"
!include "lang\Japanese.nsh"

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) ${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"

Var RemoveSettings     ; "1" when the uninstaller also removes the user's settings
Var SettingsCheckBox
Var PreviousDir        ; the folder of an earlier install

; The pages speak the add-in's language: Japanese exactly when the English name of the
; user's locale's country is "Japan" (compared without regard to case, as the add-in
; does), English otherwise and when the query fails.
!macro ChooseLanguage
  System::Call 'kernel32::GetLocaleInfoA(i ${LOCALE_USER_DEFAULT}, i ${LOCALE_SENGCOUNTRY}, m .r0, i ${NSIS_MAX_STRLEN}) i .r1'
  ${If} $1 <> 0
  ${AndIf} $0 == "Japan"
    StrCpy $LANGUAGE ${LANG_JAPANESE}
  ${Else}
    StrCpy $LANGUAGE ${LANG_ENGLISH}
  ${EndIf}
!macroend

; Stops the run, changing nothing, while a program (Excel) has the DLL at `path` loaded:
; such a file can be neither replaced nor deleted. Windows refuses to open a loaded DLL for
; writing, which is what is tried here (opening and closing it changes nothing). The user
; may close Excel and retry; a silent run stops at once with EXIT_IN_USE.
!macro StopWhileInUse path
  ${If} ${FileExists} "${path}"
    ${Do}
      ClearErrors
      FileOpen $R9 "${path}" a
      ${IfNot} ${Errors}
        FileClose $R9
        ${ExitDo}
      ${EndIf}
      ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(CLOSE_EXCEL)" /SD IDCANCEL IDRETRY`
        DetailPrint "$(CLOSE_EXCEL)"
        SetErrorLevel ${EXIT_IN_USE}
        Abort "$(STOPPED_NOTHING_CHANGED)"
      ${EndIf}
    ${Loop}
  ${EndIf}
!macroend

Function .onInit
  !insertmacro ChooseLanguage
FunctionEnd

Section "-${PRODUCT}" SecAddin
  ; An earlier install (here, or in the folder it was installed in) is replaced: first its
  ; DLL must be free, then its registration goes, then its files are replaced.
  ReadRegStr $PreviousDir HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $PreviousDir == ""
    StrCpy $PreviousDir "$INSTDIR"
  ${EndIf}
  !insertmacro StopWhileInUse "$INSTDIR\${DLL_NAME}"
  !insertmacro StopWhileInUse "$PreviousDir\${DLL_NAME}"

  ${If} ${FileExists} "$PreviousDir\${DLL_NAME}"
    DetailPrint "$(UNREGISTERING_EARLIER)"
    UnRegDLL "$PreviousDir\${DLL_NAME}"
  ${EndIf}
  ${If} $PreviousDir != "$INSTDIR"
    ; Moved to another folder: the earlier one keeps nothing of ours.
    Delete "$PreviousDir\${DLL_NAME}"
    Delete "$PreviousDir\${README_EN_NAME}"
    Delete "$PreviousDir\${README_JA_NAME}"
    Delete "$PreviousDir\${UNINSTALLER}"
    RMDir "$PreviousDir"
    ${If} ${FileExists} "$INSTDIR\${DLL_NAME}"
      UnRegDLL "$INSTDIR\${DLL_NAME}"
    ${EndIf}
  ${EndIf}

  SetOutPath "$INSTDIR"
  SetOverwrite on
  File "/oname=${DLL_NAME}" "${DLL_FILE}"
  File "/oname=${README_EN_NAME}" "${README_EN}"
  File "/oname=${README_JA_NAME}" "${README_JA}"

  ; The DLL's DllRegisterServer: its per-user keys only.
  ClearErrors
  RegDLL "$INSTDIR\${DLL_NAME}"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "$(REGISTRATION_FAILED)" /SD IDOK
    DetailPrint "$(REGISTRATION_FAILED)"
    SetErrorLevel ${EXIT_REGISTRATION_FAILED}
    Abort
  ${EndIf}

  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; In KB, as Add or Remove Programs shows it: the files this section installs.
  SectionGetSize ${SecAddin} $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  !insertmacro ChooseLanguage
  ; For silent runs, which show no page: uninstall.exe /S /REMOVESETTINGS
  StrCpy $RemoveSettings 0
  ${un.GetParameters} $0
  ClearErrors
  ${un.GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    StrCpy $RemoveSettings 1
  ${EndIf}
FunctionEnd

Function un.OptionsPageShow
  !insertmacro MUI_HEADER_TEXT "$(UN_PAGE_TITLE)" "$(UN_PAGE_SUBTITLE)"
  nsDialogs::Create 1018
  Pop $0
  ${If} $0 == error
    Abort
  ${EndIf}
  ${NSD_CreateLabel} 0 0 100% 48u "$(UN_PAGE_TEXT)"
  Pop $0
  ${NSD_CreateCheckbox} 0 56u 100% 12u "$(UN_REMOVE_SETTINGS)"
  Pop $SettingsCheckBox
  ${If} $RemoveSettings == 1
    ${NSD_Check} $SettingsCheckBox
  ${EndIf}
  ${NSD_CreateLabel} 12u 70u -12u 24u "$(UN_REMOVE_SETTINGS_NOTE)"
  Pop $0
  ; This page starts the removal: its button says so.
  GetDlgItem $0 $HWNDPARENT 1
  SendMessage $0 ${WM_SETTEXT} 0 "STR:$(^UninstallBtn)"
  nsDialogs::Show
FunctionEnd

Function un.OptionsPageLeave
  ${NSD_GetState} $SettingsCheckBox $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $RemoveSettings 1
  ${Else}
    StrCpy $RemoveSettings 0
  ${EndIf}
FunctionEnd

Section "Uninstall"
  ; Nothing is removed while Excel has the DLL loaded.
  !insertmacro StopWhileInUse "$INSTDIR\${DLL_NAME}"

  ; The DLL's DllUnregisterServer removes exactly what its registration wrote. A DLL that
  ; is missing or cannot unregister leaves its keys, which are deleted here instead.
  ClearErrors
  ${If} ${FileExists} "$INSTDIR\${DLL_NAME}"
    UnRegDLL "$INSTDIR\${DLL_NAME}"
  ${Else}
    SetErrors
  ${EndIf}
  ${If} ${Errors}
    DeleteRegKey HKCU "${PROGID_KEY}"
    DeleteRegKey HKCU "${CLSID_KEY}"
    DeleteRegKey HKCU "${EXCEL_ADDIN_KEY}"
  ${EndIf}

  Delete "$INSTDIR\${DLL_NAME}"
  Delete "$INSTDIR\${README_EN_NAME}"
  Delete "$INSTDIR\${README_JA_NAME}"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only when empty: files the user put there stay, and so does the folder.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  ${If} $RemoveSettings == 1
    DetailPrint "$(REMOVING_SETTINGS)"
    DeleteRegKey HKCU "${SETTINGS_KEY}"
  ${EndIf}
SectionEnd
