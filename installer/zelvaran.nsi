; Installer of Security Zelvaran: one per-machine copy of zelvaran.exe with its help file beside
; it (the program opens the help from its own folder), a Start-menu shortcut for every user and
; an entry in Programs and Features. Built by installer/CMakeLists.txt; the inputs come in as
; defines so that the script never guesses where the build put them:
;
;   makensis -DZELVARAN_EXE=<zelvaran.exe> -DZELVARAN_CLI_EXE=<zelvaran-cli.exe>
;            -DZELVARAN_CHECK_EXE=<zelvaran_setup_check.exe> -DZELVARAN_CHM=<zelvaran_help.chm>
;            -DZELVARAN_ICON=<zelvaran.ico> -DZELVARAN_VERSION=1.0.42
;            -DZELVARAN_VI_VERSION=1.0.0.42 -DZELVARAN_SIDE_BMP=<installer_side.bmp>
;            -DZELVARAN_HEADER_BMP=<installer_header.bmp> -DSETUP_OUTFILE=<setup exe> zelvaran.nsi
;
; The file is UTF-8 with a byte-order mark, which is how makensis knows to read it as UTF-8.

!macro REQUIRE_DEFINE name
    !ifndef ${name}
        !error "Define ${name} on the makensis command line (see the top of this script)."
    !endif
!macroend
!insertmacro REQUIRE_DEFINE ZELVARAN_EXE
!insertmacro REQUIRE_DEFINE ZELVARAN_CLI_EXE
!insertmacro REQUIRE_DEFINE ZELVARAN_CHECK_EXE
!insertmacro REQUIRE_DEFINE ZELVARAN_CHM
!insertmacro REQUIRE_DEFINE ZELVARAN_ICON
!insertmacro REQUIRE_DEFINE ZELVARAN_VERSION
!insertmacro REQUIRE_DEFINE ZELVARAN_VI_VERSION
!insertmacro REQUIRE_DEFINE ZELVARAN_SIDE_BMP
!insertmacro REQUIRE_DEFINE ZELVARAN_HEADER_BMP
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
!include LogicLib.nsh

!define MUI_ICON "${ZELVARAN_ICON}"
!define MUI_UNICON "${ZELVARAN_ICON}"
; The product's own pictures (resources/make_images.py): 164 x 314 beside the welcome and finish
; pages, 150 x 57 in the header of the others.
!define MUI_WELCOMEFINISHPAGE_BITMAP "${ZELVARAN_SIDE_BMP}"
!define MUI_HEADERIMAGE
!define MUI_HEADERIMAGE_RIGHT
!define MUI_HEADERIMAGE_BITMAP "${ZELVARAN_HEADER_BMP}"
!define MUI_HEADERIMAGE_UNBITMAP "${ZELVARAN_HEADER_BMP}"
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
                "${PRODUCT} está en ejecución.$\r$\nCiérrelo (menú «Salir») y pulse «Reintentar»." \
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

; $0 = 1 when $INSTDIR is a Program Files folder or lies inside one (case aside, whole folder
; names only: "C:\Program Files Evil" is not inside), else 0.
!macro INSIDE_PROGRAM_FILES prefix
    Function ${prefix}InsideProgramFiles
        StrCpy $0 0
        ${ForEach} $1 1 2 + 1
            ${If} $1 == 1
                StrCpy $2 "$PROGRAMFILES64"
            ${Else}
                StrCpy $2 "$PROGRAMFILES32"
            ${EndIf}
            StrLen $3 "$2\"
            StrCpy $4 "$INSTDIR" $3
            ${If} "$INSTDIR" == "$2"
            ${OrIf} $4 == "$2\"
                StrCpy $0 1
            ${EndIf}
        ${Next}
    FunctionEnd
!macroend
!insertmacro INSIDE_PROGRAM_FILES "un."

; Before anything is copied: the setup's own check (zelvaran_setup_check.exe, from the program's
; sources) judges the install folder and every folder above it by their permissions, each read
; itself, none of them a link. A folder above it that others can change is refused: whoever can
; rename it can put another program in its place, which the shortcut of every user and the
; uninstall entry would then start. So is a path through a junction, a symbolic link or a mount
; point, or one that leads elsewhere than it says: everything below records $INSTDIR as written.
; Files there still waiting to be deleted at the next restart would take the new ones with them.
; Once all is well, the check creates the folders missing on the way, each with Program Files'
; protection from the moment it exists.
Function CheckTheWay
    InitPluginsDir
    File "/oname=$PLUGINSDIR\comprobar.exe" "${ZELVARAN_CHECK_EXE}"
    nsExec::ExecToStack '"$PLUGINSDIR\comprobar.exe" "$INSTDIR"'
    Pop $0
    Pop $1
    ${If} $0 == 0
        Return
    ${ElseIf} $0 == 12
        MessageBox MB_YESNO|MB_ICONEXCLAMATION \
            "Windows va a eliminar al reiniciar el equipo archivos de una instalación anterior de ${PRODUCT} en $INSTDIR, y con ellos los que se instalen ahora. Reinicie el equipo y vuelva a ejecutar el instalador.$\r$\n$\r$\n¿Desea reiniciar el equipo ahora?" \
            /SD IDNO IDNO refuse
        Reboot
    ${ElseIf} $0 == 10
        MessageBox MB_OK|MB_ICONSTOP \
            "Otros usuarios, además de los administradores, pueden cambiar la carpeta $1, por encima de $INSTDIR: podrían cambiar el programa instalado, que se abriría para todos los usuarios. No se ha instalado nada. Elija una carpeta dentro de Archivos de programa." \
            /SD IDOK
    ${ElseIf} $0 == 13
        MessageBox MB_OK|MB_ICONSTOP \
            "La ruta $INSTDIR pasa por $1, que es una unión, un vínculo simbólico o un punto de montaje, o no lleva a la carpeta escrita: quien cambiara adónde lleva podría cambiar el programa instalado, que se abriría para todos los usuarios. No se ha instalado nada. Escriba la ruta completa de la carpeta, sin enlaces ni nombres cortos." \
            /SD IDOK
    ${ElseIf} $0 == 14
        MessageBox MB_OK|MB_ICONSTOP \
            "No se pudo crear la carpeta $1 con los permisos de Archivos de programa (quizá otro usuario la ha creado mientras tanto), así que no se ha instalado nada." \
            /SD IDOK
    ${ElseIf} $0 == 16
        MessageBox MB_OK|MB_ICONSTOP \
            "La carpeta $INSTDIR ya existe y otros usuarios, además de los administradores, pueden cambiarla o cambiar los archivos que se creen en ella: podrían cambiar el programa instalado, que se abriría para todos los usuarios. No se ha instalado nada. Elija una carpeta nueva o una que solo puedan cambiar los administradores." \
            /SD IDOK
    ${Else}
        MessageBox MB_OK|MB_ICONSTOP \
            "No se pudo comprobar quién puede cambiar la carpeta $INSTDIR y las que están por encima de ella, así que no se ha instalado nada." \
            /SD IDOK
    ${EndIf}
    refuse:
    SetErrorLevel 2
    Quit
FunctionEnd

; After the copy, the same check as the program makes of itself, on the files and their folder,
; whose owner becomes Administrators whatever the system's policy made it (a copy owned by the
; installing administrator's own account would judge itself portable). Anything else removes
; what was copied.
Function CheckInstalled
    nsExec::ExecToStack '"$PLUGINSDIR\comprobar.exe" /verificar "$INSTDIR" "$INSTDIR\zelvaran.exe" "$INSTDIR\${UNINSTALLER}" "$INSTDIR\zelvaran-cli.exe" "$INSTDIR\zelvaran_help.chm"'
    Pop $0
    Pop $1
    Delete "$PLUGINSDIR\comprobar.exe"
    ${If} $0 == 0
        Return
    ${EndIf}
    Delete "$INSTDIR\zelvaran.exe"
    Delete "$INSTDIR\${UNINSTALLER}"
    Delete "$INSTDIR\zelvaran-cli.exe"
    Delete "$INSTDIR\zelvaran_help.chm"
    MessageBox MB_OK|MB_ICONSTOP \
        "Después de copiar los archivos, otros usuarios, además de los administradores, podrían cambiar $1, así que se han quitado los archivos copiados y no se ha instalado nada. Elija una carpeta dentro de Archivos de programa." \
        /SD IDOK
    SetErrorLevel 2
    Quit
FunctionEnd

Section "${PRODUCT}" SecProgram
    SectionIn RO
    Call CheckTheWay
    SetOutPath "$INSTDIR"
    ; Side by side: the program looks for its help file in its own folder.
    File "/oname=zelvaran.exe" "${ZELVARAN_EXE}"
    File "/oname=zelvaran_help.chm" "${ZELVARAN_CHM}"
    ; The command-line generator, beside the program; the PATH is left alone, so a script calls
    ; it by its full path or adds the folder itself.
    File "/oname=zelvaran-cli.exe" "${ZELVARAN_CLI_EXE}"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    Call CheckInstalled

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

; $0 = 1 when the uninstaller runs as the user whose desktop it is on: the owner of the shell
; (Explorer; under Wine, which has no shell window, of the desktop window). 0 when it runs under
; another account, as when an administrator's name and password were given to the consent prompt,
; or when that cannot be told.
Function un.RunsAsDesktopUser
    StrCpy $0 0
    System::Call 'user32::GetShellWindow() p.r1'
    ${If} $1 == 0
        System::Call 'user32::GetDesktopWindow() p.r1'
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p r1, *i .r2) i'
    ; PROCESS_QUERY_LIMITED_INFORMATION, TOKEN_QUERY, TokenUser
    System::Call 'kernel32::OpenProcess(i 0x1000, i 0, i r2) p.r3'
    ${If} $3 == 0
        Return
    ${EndIf}
    System::Call 'advapi32::OpenProcessToken(p r3, i 8, *p .r4) i.r5'
    System::Call 'kernel32::CloseHandle(p r3)'
    ${If} $5 == 0
        Return
    ${EndIf}
    System::Call 'kernel32::GetCurrentProcess() p.r6'
    System::Call 'advapi32::OpenProcessToken(p r6, i 8, *p .r7) i.r5'
    ${If} $5 != 0
        System::Alloc 256
        Pop $8
        System::Alloc 256
        Pop $9
        System::Call 'advapi32::GetTokenInformation(p r4, i 1, p r8, i 256, *i .R9) i.r5'
        System::Call 'advapi32::GetTokenInformation(p r7, i 1, p r9, i 256, *i .R9) i.r6'
        ${If} $5 != 0
        ${AndIf} $6 != 0
            System::Call '*$8(p .r1)'
            System::Call '*$9(p .r2)'
            System::Call 'advapi32::EqualSid(p r1, p r2) i.r5'
            ${If} $5 != 0
                StrCpy $0 1
            ${EndIf}
        ${EndIf}
        System::Free $8
        System::Free $9
        System::Call 'kernel32::CloseHandle(p r7)'
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r4)'
FunctionEnd

; $R8 = the final path of the installed exe (junctions, mapped drives and short names resolved),
; as the program writes it in its start-up entry: without the system's "\\?\" prefix, and
; "\\?\UNC\server" as "\\server". Empty when the system cannot tell.
Function un.FinalExePath
    StrCpy $R8 ""
    ; FILE_READ_ATTRIBUTES, any sharing, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS
    System::Call 'kernel32::CreateFileW(w "$INSTDIR\zelvaran.exe", i 0x80, i 7, p 0, i 3, i 0x02000000, p 0) p.r1'
    System::Call 'kernel32::GetFinalPathNameByHandleW(p r1, w .r2, i ${NSIS_MAX_STRLEN}, i 0) i.r3'
    ; A failed open gives INVALID_HANDLE_VALUE, for which CloseHandle does nothing.
    System::Call 'kernel32::CloseHandle(p r1)'
    ${If} $3 <= 0
    ${OrIf} $3 >= ${NSIS_MAX_STRLEN}
        Return
    ${EndIf}
    StrCpy $R8 $2
    StrCpy $3 $R8 8
    StrCpy $4 $R8 4
    ${If} $3 == "\\?\UNC\"
        StrCpy $R8 $R8 "" 8
        StrCpy $R8 "\\$R8"
    ${ElseIf} $4 == "\\?\"
        StrCpy $R8 $R8 "" 4
    ${EndIf}
FunctionEnd

; "Iniciar con Windows" of the installed program: taken out only where it starts this very exe,
; by the path it was installed under or its final one (see un.FinalExePath, called first), quoted
; as the program writes it or bare (case aside, as the file system). A portable copy's or another
; installation's entry of the same name is not ours.
!macro DELETE_OWN_RUN_VALUE root
    ReadRegStr $0 ${root} "${RUN_KEY}" "Zelvaran"
    ${If} $0 == "$\"$INSTDIR\zelvaran.exe$\""
    ${OrIf} $0 == "$INSTDIR\zelvaran.exe"
        DeleteRegValue ${root} "${RUN_KEY}" "Zelvaran"
    ${ElseIf} $R8 != ""
        ${If} $0 == "$\"$R8$\""
        ${OrIf} $0 == "$R8"
            DeleteRegValue ${root} "${RUN_KEY}" "Zelvaran"
        ${EndIf}
    ${EndIf}
!macroend

Section "Uninstall"
    ; While the exe is still there to be asked.
    Call un.FinalExePath
    ; Only the files this installer put there: anything the user added keeps the folder alive.
    ; A copy still running in another session keeps its exe open: such files go at the next
    ; restart, and the user is told.
    Delete /REBOOTOK "$INSTDIR\zelvaran.exe"
    Delete /REBOOTOK "$INSTDIR\zelvaran_help.chm"
    Delete /REBOOTOK "$INSTDIR\zelvaran-cli.exe"
    Delete "$INSTDIR\${UNINSTALLER}"
    ; Outside Program Files the emptied folder stays, protected: other users' start-up entries
    ; may still name the exe in it, and were it gone, anyone could create it again with a
    ; program of their own.
    Call un.InsideProgramFiles
    ${If} $0 == 1
        RMDir /REBOOTOK "$INSTDIR"
    ${Else}
        DetailPrint "La carpeta $INSTDIR se conserva vacía y protegida."
        MessageBox MB_OK|MB_ICONINFORMATION \
            "La carpeta $INSTDIR se conserva, vacía y protegida: está fuera de Archivos de programa y, si se borrara, cualquier usuario podría volver a crearla con otro programa del mismo nombre, que abrirían las entradas de inicio que otros usuarios aún tengan. Un administrador puede borrarla cuando nadie las tenga." \
            /SD IDOK
    ${EndIf}
    ; The maker's folder goes only when no other program of ours lives there.
    RMDir /REBOOTOK "$PROGRAMFILES64\${MAKER}"

    Delete "${SHORTCUT}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    ; Every log-on would otherwise try to start a program that is gone.
    !insertmacro DELETE_OWN_RUN_VALUE HKLM

    ; What lies under HKEY_CURRENT_USER belongs to the account the uninstaller runs as. When that
    ; is not the desktop's user, the user's own start-up entry and choices are not within reach,
    ; and another account's are not to be touched.
    Call un.RunsAsDesktopUser
    ${If} $0 == 1
        !insertmacro DELETE_OWN_RUN_VALUE HKCU
        ; A silent uninstall keeps the choices, as does Yes: a reinstall then finds them again.
        MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON1 \
            "¿Desea conservar sus opciones guardadas de ${PRODUCT} (las del cuadro de diálogo «Configuracion», las del menú de la ventana y las de la ventana «Frase de Contraseña») por si vuelve a instalarlo?" \
            /SD IDYES IDYES settings_kept
        DeleteRegKey HKCU "${SETTINGS_KEY}"
        DeleteRegKey /ifempty HKCU "${SETTINGS_ROOT}"
        settings_kept:
    ${Else}
        DetailPrint "Las opciones guardadas de cada usuario se conservan: el desinstalador no se ejecuta con la cuenta del usuario que ha iniciado sesión."
    ${EndIf}

    IfRebootFlag 0 done
        DetailPrint "Algunos archivos están en uso; se eliminarán al reiniciar el equipo."
        MessageBox MB_OK|MB_ICONINFORMATION \
            "Algunos archivos de ${PRODUCT} están en uso (quizá el programa sigue abierto en otra sesión de Windows). Se eliminarán al reiniciar el equipo." \
            /SD IDOK
    done:
SectionEnd
