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
# ThreadSanitizer build only: the battery announcement goes to a private
# session bus, and QDBusConnection::sessionBus() starts Qt's own
# "QDBusConnection" thread, which owns the libdbus connection. Every report
# pairs that thread with the window thread on objects Qt and libdbus create
# and hand over themselves (a posted event deleted in
# QCoreApplicationPrivate::sendPostedEvents, the connection's mutex in
# dbus_connection_get_is_connected, a QDBusMessage freed on the bus thread, a
# QWaitCondition of the connection manager), through QMutex/QWaitCondition and
# libdbus locks that the uninstrumented libQt6Core, libQt6DBus and libdbus-1
# keep from the sanitizer. The program calls D-Bus from the window thread only
# and hands nothing of its own to that thread.
set_tests_properties(DesktopTray.AFallingBatteryIsAnnouncedOnceAtEachMarkOnTheSessionBus
  PROPERTIES LABELS qt-internal-race)
