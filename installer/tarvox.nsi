; The Windows installer of Tarvox. Built by the win32 build:
;   makensis -DBIN=<folder of the built program> -DICON=<tarvox.ico> -DVERSION=4.1.0
;            -DOUTFILE=<setup.exe> tarvox.nsi
; Silent with /S. The uninstaller keeps the settings files unless the user asks, or is
; given /PURGE, to remove them.

Unicode true
!ifndef BIN | VERSION | OUTFILE | ICON
    !error "BIN, ICON, VERSION and OUTFILE must be defined"
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvox"

Name "Tarvox ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Tarvox"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\tarvox.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Spanish"
!insertmacro MUI_LANGUAGE "English"

LangString RemoveSettings ${LANG_SPANISH} "¿Borrar también la configuración (conf.txm) y la lista de archivos recientes (ult.txm)?"
LangString RemoveSettings ${LANG_ENGLISH} "Also delete the settings (conf.txm) and the recent archives list (ult.txm)?"
LangString VerbExtractHere ${LANG_SPANISH} "Extraer aquí"
LangString VerbExtractHere ${LANG_ENGLISH} "Extract here"
LangString VerbExtractTo ${LANG_SPANISH} "Extraer en carpeta"
LangString VerbExtractTo ${LANG_ENGLISH} "Extract to folder"
LangString VerbTest ${LANG_SPANISH} "Comprobar"
LangString VerbTest ${LANG_ENGLISH} "Test"
LangString VerbAdd ${LANG_SPANISH} "Añadir a archivo zip"
LangString VerbAdd ${LANG_ENGLISH} "Add to zip archive"

; A verb of the shell: its caption, and the program run with its switch on the item.
!macro Verb KEY CAPTION SWITCH
    WriteRegStr HKCR "${KEY}" "" "${CAPTION}"
    WriteRegStr HKCR "${KEY}\command" "" '"$INSTDIR\tarvox.exe" ${SWITCH} "%1"'
!macroend

Function .onInit
    !insertmacro MUI_LANGDLL_DISPLAY
FunctionEnd

Section "Tarvox"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "${BIN}/tarvox.exe"
    File "${BIN}/ZIPDLL.DLL"
    File "${BIN}/UNZDLL.DLL"
    File "${BIN}/ayuda.html"
    File "${BIN}/help.html"
    ; The user's settings and recent list survive a reinstallation.
    ${IfNot} ${FileExists} "$INSTDIR\conf.txm"
        FileOpen $0 "$INSTDIR\conf.txm" w
        FileWrite $0 "c:\$\r$\nc:\$\r$\nc:\$\r$\n1$\r$\n"
        FileClose $0
    ${EndIf}
    ${IfNot} ${FileExists} "$INSTDIR\ult.txm"
        FileOpen $0 "$INSTDIR\ult.txm" w
        FileClose $0
    ${EndIf}

    ; What ".zip" meant before, so that the uninstaller can give it back.
    ReadRegStr $0 HKCR ".zip" ""
    ${If} $0 != "Tarvox"
        WriteRegStr HKLM "${UNINSTALL_KEY}" "PreviousZipType" $0
    ${EndIf}
    WriteRegStr HKCR "Tarvox\dir" "" "$INSTDIR"
    WriteRegStr HKCR "Tarvox\shell\open\command" "" '"$INSTDIR\tarvox.exe" "%1"'
    ; Double click still opens the archive in the window.
    WriteRegStr HKCR "Tarvox\shell" "" "open"
    !insertmacro Verb "Tarvox\shell\extracthere" "$(VerbExtractHere)" "/extracthere"
    !insertmacro Verb "Tarvox\shell\extractto" "$(VerbExtractTo)" "/extractto"
    !insertmacro Verb "Tarvox\shell\test" "$(VerbTest)" "/test"
    !insertmacro Verb "*\shell\tarvoxadd" "$(VerbAdd)" "/add"
    !insertmacro Verb "Directory\shell\tarvoxadd" "$(VerbAdd)" "/add"
    ; Offered on up to 100 selected items: their programs gather them into one archive.
    WriteRegStr HKCR "*\shell\tarvoxadd" "MultiSelectModel" "Player"
    WriteRegStr HKCR "Directory\shell\tarvoxadd" "MultiSelectModel" "Player"
    WriteRegStr HKCR ".zip" "" "Tarvox"

    CreateShortcut "$SMPROGRAMS\Tarvox.lnk" "$INSTDIR\tarvox.exe"

    WriteUninstaller "$INSTDIR\uninstall.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tarvox ${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Ruvel Soft"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tarvox.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
    !insertmacro MUI_UNGETLANGUAGE
FunctionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$INSTDIR\tarvox.exe"
    Delete "$INSTDIR\ZIPDLL.DLL"
    Delete "$INSTDIR\UNZDLL.DLL"
    Delete "$INSTDIR\ayuda.html"
    Delete "$INSTDIR\help.html"
    Delete "$INSTDIR\uninstall.exe"

    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/PURGE" $1
    ${IfNot} ${Errors}
        StrCpy $1 "purge"
    ${ElseIf} ${Cmd} `MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(RemoveSettings)" /SD IDNO IDYES`
        StrCpy $1 "purge"
    ${Else}
        StrCpy $1 ""
    ${EndIf}
    ${If} $1 == "purge"
        Delete "$INSTDIR\conf.txm"
        Delete "$INSTDIR\ult.txm"
    ${EndIf}
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\Tarvox.lnk"

    ; ".zip" goes back to what it was only while it still names Tarvox.
    ReadRegStr $0 HKCR ".zip" ""
    ${If} $0 == "Tarvox"
        ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "PreviousZipType"
        ${If} $1 == ""
            DeleteRegValue HKCR ".zip" ""
            DeleteRegKey /ifempty HKCR ".zip"
        ${Else}
            WriteRegStr HKCR ".zip" "" $1
        ${EndIf}
    ${EndIf}
    DeleteRegKey HKCR "Tarvox"
    DeleteRegKey HKCR "*\shell\tarvoxadd"
    DeleteRegKey HKCR "Directory\shell\tarvoxadd"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
