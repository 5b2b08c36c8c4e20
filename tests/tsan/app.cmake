# ThreadSanitizer build only: the same Qt thread-pool image conversion (scale-2
# skin pictures are large enough for Qt to split the work), and the program run
# as a process, which ends with ThreadSanitizer's exit code for those reports.
set_tests_properties(WideScreen.ScaleTwoDoublesTheWindow WideOsd.WindowIs360By280
  LayoutTest.LayoutScalesEveryCoordinateAtTwice SessionEnd.SigtermClosesTheWindowAndWritesThePendingSave
  PROPERTIES LABELS qt-internal-race)
# ThreadSanitizer build only: the window started as a process ends with
# ThreadSanitizer's exit code because its first paint draws the background
# picture with QPainter::drawImage, which hands the blend to Qt's own thread
# pool: the task (QRunnable::create) is allocated on the window thread and
# deleted by a "Thread (pooled)" thread, handed over through the pool's
# QMutex/QWaitCondition inside the uninstrumented libQt6Core. A program of
# twenty lines that only draws a 2254x1480 premultiplied picture into a
# 32-bit image on its main thread gets the same reports (operator new in
# QRunnable::create against operator delete in libQt6Gui); the pictures the
# window decodes on other threads reach it through std::future, which the
# sanitizer sees, and that hand-over alone reports nothing.
set_tests_properties(DataSafety.WhatKilledSavesLeftInConfigIsGoneAfterOneStart
  DataSafety.AStartAndCloseWithoutChangesWritesNothing DataSafety.LinkedFilesStayLinksAndTheirTargetsGetTheSave
  GameProcess.AGameSwitchesTheMouseAndItsEndSwitchesBack game_switch_under_xvfb
  PROPERTIES LABELS qt-internal-race)
