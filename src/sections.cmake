# The display side of the main window's sections: profile tabs, button
# captions, DPI, sensor and lighting controls. Standard C++ on the toolkit;
# src/app/CMakeLists.txt includes this file and the app library links it.
file(GLOB TEVLAN_SECTION_SOURCES CONFIGURE_DEPENDS
  ${TEVLAN_SRC}/settings/ui/*.cpp ${TEVLAN_SRC}/buttons/ui/*.cpp ${TEVLAN_SRC}/persist/ui/*.cpp)
add_library(tevlan_sections STATIC ${TEVLAN_SECTION_SOURCES})
target_link_libraries(tevlan_sections PUBLIC tevlan_includes tevlan_ui tevlan_core tevlan_platform_keyboard)
if(TARGET tevlan_app)
  target_link_libraries(tevlan_app PUBLIC tevlan_sections)
endif()
