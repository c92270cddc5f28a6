@echo off
rem Takes Quillmere out of Control Panel again: removes the category entry
rem install-control-panel.cmd added and deletes quillmere.cpl from the
rem system folder. Quillmere's settings of the driver stay as they are.
setlocal
set "TARGET=%SystemRoot%\system32\quillmere.cpl"
set "KEY=HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Control Panel\Extended Properties\{305CA226-D286-468e-B848-2B2E8E697B74} 2"
rem A folder of a new name each run: one left behind cannot pass for ours.
set "PROBE=%SystemRoot%\system32\quillmere-check-%RANDOM%-%RANDOM%.tmp"
set "OLDPROBE=%SystemRoot%\system32\quillmere-install.tmp"
set STATUS=0

md "%PROBE%" >nul 2>&1
if errorlevel 1 goto noadmin
rd "%PROBE%"
if exist "%OLDPROBE%" del "%OLDPROBE%"

reg query "%KEY%" /v "%TARGET%" >nul 2>&1
if errorlevel 1 goto nokey
reg delete "%KEY%" /v "%TARGET%" /f >nul
if errorlevel 1 goto noreg
echo Removed Quillmere from the category "Sounds, Speech, and Audio Devices".
goto file
:nokey
echo Quillmere had no category entry.
goto file
:noreg
echo Could not remove Quillmere's category entry: Windows' reg.exe failed or is missing.
set STATUS=1

:file
if not exist "%TARGET%" goto nofile
del "%TARGET%" 2>nul
if exist "%TARGET%" goto inuse
echo Deleted %TARGET%. Quillmere is no longer in Control Panel.
goto end
:nofile
echo %TARGET% was not there.
goto end
:inuse
echo Could not delete %TARGET%.
echo Close Control Panel and any Quillmere window, then run this script again.
set STATUS=1
goto end

:noadmin
echo Sorry, taking Quillmere out of Control Panel needs an administrator.
echo Log on as an administrator and run this script again. Nothing was changed.
set STATUS=1

:end
pause
exit /b %STATUS%
