# ThreadSanitizer build only (see tests/CMakeLists.txt): loading a skin picture
# lets Qt convert the image on its own thread pool, whose synchronisation an
# uninstrumented Qt hides from ThreadSanitizer; the reports are all inside Qt.
set_tests_properties(SkinTest.EveryNamedPictureIsThereAtItsSize PROPERTIES LABELS qt-internal-race)
