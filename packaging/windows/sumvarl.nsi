; The Windows installer, Sumvarl-安装.exe, made by scripts/windows.sh:
;   makensis -INPUTCHARSET UTF8 -DSTAGE=<folder> -DVERSION=<x.y> -DOUTFILE=<file> -DFILES=<list>
;            -DICON=<.ico> -DLICENSE=<text> sumvarl.nsi
; STAGE holds the program in windeployqt's layout; FILES (written by the script) names every file
; and folder in it, so that the uninstaller takes away what was installed and nothing else: a
; folder chosen by hand may hold other files. The child's history lives in the user's AppData
; and stays when the program goes.
Unicode true
; A 64-bit installer for a 64-bit program: it also runs where Windows (or Wine) has no 32-bit layer.
Target amd64-unicode
SetCompressor /SOLID lzma
!include "MUI2.nsh"

!define PRODUCT "Sumvarl出题系统"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Sumvarl"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Sumvarl"
InstallDirRegKey HKLM "Software\Sumvarl" "InstallDir"
RequestExecutionLevel admin
BrandingText "Sumvarl ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "MIT License"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEPAGE_TEXT "本向导将在您的电脑上安装 ${PRODUCT} ${VERSION}：为小学生出四则运算练习题、打印练习卷和答案。$\r$\n$\r$\n点击“下一步”继续。"
!define MUI_FINISHPAGE_RUN "$INSTDIR\sumvarl.exe"
!define MUI_FINISHPAGE_RUN_TEXT "现在运行 ${PRODUCT}"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Section "Sumvarl"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File /r "${STAGE}/*.*"
    WriteUninstaller "$INSTDIR\卸载.exe"
    CreateDirectory "$SMPROGRAMS\${PRODUCT}"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\sumvarl.exe"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\卸载 ${PRODUCT}.lnk" "$INSTDIR\卸载.exe"
    WriteRegStr HKLM "Software\Sumvarl" "InstallDir" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\sumvarl.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Sumvarl"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\卸载.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\卸载.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    !include "${FILES}"
    Delete "$INSTDIR\卸载.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\卸载 ${PRODUCT}.lnk"
    RMDir "$SMPROGRAMS\${PRODUCT}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKLM "Software\Sumvarl"
SectionEnd
