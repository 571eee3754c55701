; Installer of Security Zelvaran: one per-machine copy of zelvaran.exe with its help file beside
; it (the program opens the help from its own folder), a Start-menu shortcut for every user and
; an entry in Programs and Features. Built by installer/CMakeLists.txt; the inputs come in as
; defines so that the script never guesses where the build put them:
;
;   makensis -DZELVARAN_EXE=<zelvaran.exe> -DZELVARAN_CHM=<zelvaran_help.chm>
;            -DZELVARAN_ICON=<zelvaran.ico> -DZELVARAN_VERSION=1.0.42
;            -DZELVARAN_VI_VERSION=1.0.0.42 -DSETUP_OUTFILE=<setup exe> zelvaran.nsi
;
; The file is UTF-8 with a byte-order mark, which is how makensis knows to read it as UTF-8.

!macro REQUIRE_DEFINE name
    !ifndef ${name}
        !error "Define ${name} on the makensis command line (see the top of this script)."
    !endif
!macroend
!insertmacro REQUIRE_DEFINE ZELVARAN_EXE
!insertmacro REQUIRE_DEFINE ZELVARAN_CHM
!insertmacro REQUIRE_DEFINE ZELVARAN_ICON
!insertmacro REQUIRE_DEFINE ZELVARAN_VERSION
!insertmacro REQUIRE_DEFINE ZELVARAN_VI_VERSION
!insertmacro REQUIRE_DEFINE SETUP_OUTFILE

; The default 32-bit stub does not match a 64-bit program, and a 64-bit installer sees the 64-bit
; Program Files and registry without redirection.
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
ManifestSupportedOS all
RequestExecutionLevel admin
; Installed files get the time of installation rather than the build machine's: the setup exe
; then depends only on the bytes it packs, and two builds of the same sources are identical.
SetDateSave off

!define PRODUCT "Security Zelvaran"
!define MAKER "Morvantic"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\SecurityZelvaran"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; Where the program keeps its per-user choices (the classic per-user settings API's location).
!define SETTINGS_KEY "Software\VB and VBA Program Settings\Zelvaran"
!define SETTINGS_ROOT "Software\VB and VBA Program Settings"
!define UNINSTALLER "desinstalar.exe"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
!define MAIN_CLASS "Zelvaran.frmMain"

Name "${PRODUCT}"
OutFile "${SETUP_OUTFILE}"
InstallDir "$PROGRAMFILES64\${MAKER}\${PRODUCT}"
; An earlier installation in another folder is updated where it is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${MAKER} ${PRODUCT} ${ZELVARAN_VERSION}"
ShowInstDetails show
ShowUninstDetails show

!include MUI2.nsh
!include FileFunc.nsh

!define MUI_ICON "${ZELVARAN_ICON}"
!define MUI_UNICON "${ZELVARAN_ICON}"
!define MUI_ABORTWARNING
!define MUI_UNABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SpanishInternational" ; 0x0C0A, as the program and its help

VIProductVersion "${ZELVARAN_VI_VERSION}"
VIFileVersion "${ZELVARAN_VI_VERSION}"
VIAddVersionKey /LANG=${LANG_SPANISHINTERNATIONAL} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_SPANISHINTERNATIONAL} "CompanyName" "${MAKER}"
VIAddVersionKey /LANG=${LANG_SPANISHINTERNATIONAL} "LegalCopyright" "© ${MAKER}"
VIAddVersionKey /LANG=${LANG_SPANISHINTERNATIONAL} "FileDescription" "Instalador de ${PRODUCT}"
VIAddVersionKey /LANG=${LANG_SPANISHINTERNATIONAL} "FileVersion" "${ZELVARAN_VERSION}"
VIAddVersionKey /LANG=${LANG_SPANISHINTERNATIONAL} "ProductVersion" "${ZELVARAN_VERSION}"
VIAddVersionKey /LANG=${LANG_SPANISHINTERNATIONAL} "Comments" "Generador de contraseñas aleatorias"

; A running copy keeps zelvaran.exe open: replacing or deleting it would fail halfway and leave
; the files and the registry disagreeing. Ask the user to close it; a silent run gives up.
!macro REFUSE_WHILE_RUNNING prefix
    Function ${prefix}RefuseWhileRunning
        retry:
            FindWindow $0 "${MAIN_CLASS}"
            StrCmp $0 0 done
            MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
                "${PRODUCT} está en ejecución.$\r$\nCiérrelo (menú Salir) y pulse Reintentar." \
                /SD IDCANCEL IDRETRY retry
            SetErrorLevel 3
            Quit
        done:
    FunctionEnd
!macroend
!insertmacro REFUSE_WHILE_RUNNING ""
!insertmacro REFUSE_WHILE_RUNNING "un."

Function .onInit
    SetRegView 64
    SetShellVarContext all
    Call RefuseWhileRunning
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
    Call un.RefuseWhileRunning
FunctionEnd

Section "${PRODUCT}" SecProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    ; Side by side: the program looks for its help file in its own folder.
    File "/oname=zelvaran.exe" "${ZELVARAN_EXE}"
    File "/oname=zelvaran_help.chm" "${ZELVARAN_CHM}"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"

    CreateShortcut "${SHORTCUT}" "$INSTDIR\zelvaran.exe" "" "$INSTDIR\zelvaran.exe" 0 \
        SW_SHOWNORMAL "" "Genera contraseñas aleatorias"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${ZELVARAN_VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$\"$INSTDIR\zelvaran.exe$\",0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\${UNINSTALLER}$\""
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\${UNINSTALLER}$\" /S"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ; What is really on disk, uninstaller included, in KB.
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
    ; Only the files this installer put there: anything the user added keeps the folder alive.
    Delete "$INSTDIR\zelvaran.exe"
    Delete "$INSTDIR\zelvaran_help.chm"
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
    ; The maker's folder goes only when no other program of ours lives there.
    RMDir "$PROGRAMFILES64\${MAKER}"

    Delete "${SHORTCUT}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    ; "Iniciar con Windows" would otherwise start a program that is gone at every log-on.
    DeleteRegValue HKLM "${RUN_KEY}" "Zelvaran"

    ; The choices belong to the user who runs the uninstaller (the elevated one). A silent
    ; uninstall keeps them, as does Yes: a reinstall then finds them again.
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON1 \
        "¿Desea conservar sus preferencias de ${PRODUCT} (Iniciar con Windows, Siempre al Frente) por si vuelve a instalarlo?" \
        /SD IDYES IDYES settings_kept
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "${SETTINGS_ROOT}"
    settings_kept:
SectionEnd
