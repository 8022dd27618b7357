; The per-user Windows installer of Kelvra Quire Binder, built by scripts/release.sh:
;   makensis -DVERSION=1.0 -DVERSION4=1.0.0.0 -DFILES=<staged program folder>
;            -DICON=<program icon> -DOUTFILE=<setup.exe> QuireBinder.nsi
; Installs without administrator rights into the user's own program folder, registers ".book" for
; this user only, and its uninstaller takes away exactly what the installer put there: the user's
; books and the program's settings stay.

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestSupportedOS all

!include "LogicLib.nsh"

!define PRODUCT "Kelvra Quire Binder"
!define EXE "QuireBinder.exe"
; The file type the program itself registers at start: keep both the same.
!define FILETYPE "Folioview`s Book"
!define CLASSES "Software\Classes"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KelvraQuireBinder"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "CompanyName" "Kelvra Quire Works"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) Kelvra Quire Works"

LicenseData "${FILES}\LICENSE.txt"
Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Wine does not merge the user's classes into HKEY_CLASSES_ROOT, so there the association is
; also written to the prefix's own classes (a Wine prefix belongs to one user anyway).
!macro OnWine _result
    ClearErrors
    EnumRegKey ${_result} HKLM "Software\Wine" 0
    ${If} ${Errors}
        StrCpy ${_result} ""
    ${Else}
        StrCpy ${_result} "1"
    ${EndIf}
!macroend

!macro WriteAssociation ROOT
    WriteRegStr ${ROOT} "${CLASSES}\.book" "" "${FILETYPE}"
    WriteRegStr ${ROOT} "${CLASSES}\${FILETYPE}" "" "${FILETYPE}"
    WriteRegStr ${ROOT} "${CLASSES}\${FILETYPE}\DefaultIcon" "" "$INSTDIR\${EXE},0"
    WriteRegStr ${ROOT} "${CLASSES}\${FILETYPE}\shell\open\command" "" '"$INSTDIR\${EXE}" "%1"'
!macroend

; Removes the association only while it is still this installation's: another program may have
; taken ".book" over since, and its keys stay.
!macro RemoveAssociation ROOT
    ReadRegStr $0 ${ROOT} "${CLASSES}\${FILETYPE}\shell\open\command" ""
    StrCpy $2 '"$INSTDIR\${EXE}" "%1"'
    ${If} $0 == $2
        DeleteRegKey ${ROOT} "${CLASSES}\${FILETYPE}"
    ${EndIf}
    ReadRegStr $0 ${ROOT} "${CLASSES}\.book" ""
    StrCpy $2 "${FILETYPE}"
    ${If} $0 == $2
        DeleteRegValue ${ROOT} "${CLASSES}\.book" ""
        DeleteRegKey /ifempty ${ROOT} "${CLASSES}\.book"
    ${EndIf}
!macroend

Section "Install"
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File "${FILES}\QuireBinder.exe"
    File "${FILES}\kvcomm.dll"
    File "${FILES}\QuireBinder.chm"
    File "${FILES}\quire.exe"
    File "${FILES}\README.txt"
    File "${FILES}\LICENSE.txt"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    CreateShortCut "${SHORTCUT}" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

    !insertmacro WriteAssociation HKCU
    !insertmacro OnWine $1
    ${If} $1 == "1"
        !insertmacro WriteAssociation HKLM
    ${EndIf}
    ; SHCNE_ASSOCCHANGED: the shell shows the new icon at once.
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

    WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
    WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "Kelvra Quire Works"
    WriteRegStr HKCU "${UNINST_KEY}" "URLInfoAbout" "http://kelvra.example/"
    WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
    WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    Delete "${SHORTCUT}"
    !insertmacro RemoveAssociation HKCU
    ; Also where the program registers itself on Wine; elsewhere these keys are not ours to
    ; touch and the calls do nothing.
    !insertmacro OnWine $1
    ${If} $1 == "1"
        !insertmacro RemoveAssociation HKLM
    ${EndIf}
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
    DeleteRegKey HKCU "${UNINST_KEY}"

    ; File by file: anything the user put into the folder stays, and so does the folder then.
    Delete "$INSTDIR\QuireBinder.exe"
    Delete "$INSTDIR\kvcomm.dll"
    Delete "$INSTDIR\QuireBinder.chm"
    Delete "$INSTDIR\quire.exe"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
SectionEnd
