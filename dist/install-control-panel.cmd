@echo off
rem Puts Quillmere into Control Panel: copies quillmere.cpl from this
rem script's folder into the system folder and files it under "Sounds,
rem Speech, and Audio Devices" in XP's category view. Quillmere itself
rem writes none of this. uninstall-control-panel.cmd undoes it.
setlocal
set "SOURCE=%~dp0quillmere.cpl"
set "TARGET=%SystemRoot%\system32\quillmere.cpl"
set "KEY=HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Control Panel\Extended Properties\{305CA226-D286-468e-B848-2B2E8E697B74} 2"
rem A folder of a new name each run: one left behind cannot pass for ours.
set "PROBE=%SystemRoot%\system32\quillmere-check-%RANDOM%-%RANDOM%.tmp"
set "OLDPROBE=%SystemRoot%\system32\quillmere-install.tmp"

if not exist "%SOURCE%" goto nosource

rem Only an administrator may write into the system folder: try it first,
rem so that nothing is half done. md fails when the folder is there already.
md "%PROBE%" >nul 2>&1
if errorlevel 1 goto noadmin
rd "%PROBE%"
rem An earlier version's probe file, left behind.
if exist "%OLDPROBE%" del "%OLDPROBE%"

copy /y "%SOURCE%" "%TARGET%" >nul
if errorlevel 1 goto nocopy
echo Copied quillmere.cpl to %TARGET%.

rem Category 4: Sounds, Speech, and Audio Devices.
reg add "%KEY%" /v "%TARGET%" /t REG_DWORD /d 4 /f >nul
if errorlevel 1 goto noreg
echo Quillmere now shows in Control Panel, under "Sounds, Speech, and Audio Devices".
echo To remove it again, run uninstall-control-panel.cmd.
set STATUS=0
goto end

:nosource
echo quillmere.cpl is not in %~dp0.
echo Run this script from the folder you unpacked Quillmere into. Nothing was changed.
set STATUS=1
goto end

:noadmin
echo Sorry, putting Quillmere into Control Panel needs an administrator.
echo Log on as an administrator and run this script again. Nothing was changed.
set STATUS=1
goto end

:nocopy
echo Could not copy quillmere.cpl to %TARGET%.
echo If Control Panel or a Quillmere window is open, close it and try again.
set STATUS=1
goto end

:noreg
echo Quillmere shows in Control Panel's classic view, but its category
echo could not be set: Windows' reg.exe failed or is missing.
set STATUS=1

:end
pause
exit /b %STATUS%
