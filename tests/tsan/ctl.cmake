# ThreadSanitizer build only: ctl_both_ways starts the window as a process,
# whose first paint reports Qt's own thread-pool hand-over (see app.cmake).
set_tests_properties(ctl_both_ways PROPERTIES LABELS qt-internal-race)
