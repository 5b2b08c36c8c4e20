# ThreadSanitizer build only: the same Qt thread-pool image conversion (scale-2
# skin pictures are large enough for Qt to split the work), and the program run
# as a process, which ends with ThreadSanitizer's exit code for those reports.
set_tests_properties(WideScreen.ScaleTwoDoublesTheWindow WideOsd.WindowIs360By280
  LayoutTest.LayoutScalesEveryCoordinateAtTwice SessionEnd.SigtermClosesTheWindowAndWritesThePendingSave
  PROPERTIES LABELS qt-internal-race)
