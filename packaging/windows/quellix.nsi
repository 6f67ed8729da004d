; The per-user installer of Quellix for Windows (makensis, from scripts/package-windows.sh):
; no administrator rights, a Start menu entry, an uninstaller in "Apps & features".
Unicode true
; The installer is built for the programs' own architecture (TARGET: x86-unicode or amd64-unicode),
; so a 64-bit package installs where 32-bit programs do not run.
!ifdef TARGET
  Target ${TARGET}
!endif
!define NAME "Quellix"
Name "${NAME} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${NAME}"
InstallDirRegKey HKCU "Software\${NAME}" "InstallDir"
Icon "${STAGE}\quellix.ico"
UninstallIcon "${STAGE}\quellix.ico"
SetCompressor /SOLID lzma

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${NAME}"

Section "Quellix"
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKCU "Software\${NAME}" "InstallDir" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quellix.ico"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  CreateDirectory "$SMPROGRAMS\${NAME}"
  IfFileExists "$INSTDIR\quellix.exe" 0 +2
    CreateShortcut "$SMPROGRAMS\${NAME}\${NAME}.lnk" "$INSTDIR\quellix.exe" "" "$INSTDIR\quellix.ico"
  CreateShortcut "$SMPROGRAMS\${NAME}\Uninstall ${NAME}.lnk" "$INSTDIR\uninstall.exe"
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${NAME}\${NAME}.lnk"
  Delete "$SMPROGRAMS\${NAME}\Uninstall ${NAME}.lnk"
  RMDir "$SMPROGRAMS\${NAME}"
  ; The settings under HKCU\Software\Quellix stay, as they would after an update.
  DeleteRegValue HKCU "Software\${NAME}" "InstallDir"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; Only what the installer put there: the folder may have been chosen with other files in it.
  !include "${STAGE}\..\uninstall-files.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
