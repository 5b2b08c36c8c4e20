# The main window's layout and the sections' display, without a mouse.
tevlan_add_test(test_layout SOURCES layout_test.cpp sections_test.cpp LIBS tevlan_app tevlan_platform_headless)
add_dependencies(test_layout skins)
