; The Kestran installer: kestran.exe, kestran-workshop.exe, kestran-upload.exe and
; kestran-dial.exe into Program Files, Start-menu shortcuts to Kestran and its Dial Workshop,
; kestran-dial in Explorer's "Send to" menu, and an uninstaller
; that Apps & features lists. /S installs and uninstalls
; silently. Made by scripts/package-windows.sh, which defines VERSION, STAGE (the folder
; with the files to install) and OUTFILE.
; The programs are 64-bit only, and so is the installer.
Target amd64-unicode
SetCompressor /SOLID lzma
!include "FileFunc.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestran"

Name "Kestran ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Kestran"
RequestExecutionLevel admin
BrandingText "Kestran ${VERSION}"

LicenseData "${STAGE}\LICENSE.txt"
Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Kestran"
    SetRegView 64
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "${STAGE}\kestran.exe"
    File "${STAGE}\kestran-workshop.exe"
    File "${STAGE}\kestran-upload.exe"
    File "${STAGE}\kestran-dial.exe"
    File "${STAGE}\README-Windows.txt"
    File "${STAGE}\LICENSE.txt"
    SetOutPath "$INSTDIR\dials"
    File "${STAGE}\dials\*.png"
    SetOutPath "$INSTDIR\licenses"
    File "${STAGE}\licenses\*.txt"
    SetOutPath "$INSTDIR"

    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Kestran.lnk" "$INSTDIR\kestran.exe"
    CreateShortcut "$SMPROGRAMS\Kestran Dial Workshop.lnk" "$INSTDIR\kestran-workshop.exe"
    ; "Send to" is the installing user's own: a picture sent there becomes a dial beside it.
    SetShellVarContext current
    CreateShortcut "$SENDTO\Kestran dial.lnk" "$INSTDIR\kestran-dial.exe"
    SetShellVarContext all

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Kestran"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Kestran"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kestran.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\uninstall.exe$\""
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\uninstall.exe$\" /S"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
    SetRegView 64
    SetShellVarContext all
    Delete "$SMPROGRAMS\Kestran.lnk"
    Delete "$SMPROGRAMS\Kestran Dial Workshop.lnk"
    SetShellVarContext current
    Delete "$SENDTO\Kestran dial.lnk"
    SetShellVarContext all
    Delete "$INSTDIR\kestran.exe"
    Delete "$INSTDIR\kestran-workshop.exe"
    Delete "$INSTDIR\kestran-upload.exe"
    Delete "$INSTDIR\kestran-dial.exe"
    Delete "$INSTDIR\README-Windows.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\dials\*.png"
    RMDir "$INSTDIR\dials"
    Delete "$INSTDIR\licenses\*.txt"
    RMDir "$INSTDIR\licenses"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
