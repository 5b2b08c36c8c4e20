# What `cmake --install` puts where, and the Debian package built from it.
#
#   bin/tevlan, bin/tevlanctl
#   share/tevlan/skins/, share/tevlan/config/   the program folder of an installed program
#   the udev rule 70-tevlan.rules               see TEVLAN_UDEV_RULES_DIR below
#   share/applications/tevlan.desktop, share/icons/hicolor/scalable/apps/tevlan.svg
#   share/metainfo/, share/man/man1/, share/doc/tevlan/, share/tevlan/autostart/
#
# The language files are installed next to where they are generated (the root
# CMakeLists.txt).

# Every function has a section of its own (cmake/startup_layout.cmake), so
# the linker can leave out the code nothing calls: a tenth of the programs.
foreach(program tevlan tevlanctl)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    if(TEVLAN_HAVE_ORDERED_LINK)
      target_link_options(${program} PRIVATE LINKER:--gc-sections)
    endif()
  endif()
endforeach()
if(TARGET skins)
  # Drawn at build time; a build that has not drawn them yet installs none.
  install(DIRECTORY ${CMAKE_BINARY_DIR}/skins/ DESTINATION ${CMAKE_INSTALL_DATADIR}/tevlan/skins OPTIONAL)
endif()

# udev only reads rules from /usr/lib/udev/rules.d (the distribution's) and
# /etc/udev/rules.d (the administrator's). So under the /usr prefix (and in
# the package) the rule goes to lib/udev/rules.d, for the default /usr/local
# prefix to /etc/udev/rules.d, where udev finds it; any other prefix keeps it
# under its own lib/udev/rules.d and says how to activate it. The choice is
# made when installing, so that it follows a prefix given to `cmake --install`.
# TEVLAN_UDEV_RULES_DIR (the top CMakeLists.txt) overrides the choice; the
# programs' hint for a missing rule follows the same choice.
set(TEVLAN_UDEV_RULE ${CMAKE_SOURCE_DIR}/data/70-tevlan.rules)
install(CODE "
  set(_rule_dir \"${TEVLAN_UDEV_RULES_DIR}\")
  if(NOT _rule_dir)
    if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
      set(_rule_dir \"/usr/lib/udev/rules.d\")
    elseif(CMAKE_INSTALL_PREFIX STREQUAL \"/usr/local\")
      set(_rule_dir \"/etc/udev/rules.d\")
    else()
      set(_rule_dir \"\${CMAKE_INSTALL_PREFIX}/lib/udev/rules.d\")
      message(STATUS \"The udev rule is not where udev looks; to let tevlan reach the mouse: sudo cp \$ENV{DESTDIR}\${_rule_dir}/70-tevlan.rules /etc/udev/rules.d/ && sudo udevadm control --reload && sudo udevadm trigger\")
    endif()
  elseif(NOT IS_ABSOLUTE \"\${_rule_dir}\")
    set(_rule_dir \"\${CMAKE_INSTALL_PREFIX}/\${_rule_dir}\")
  endif()
  file(INSTALL DESTINATION \"\${_rule_dir}\" TYPE FILE FILES \"${TEVLAN_UDEV_RULE}\")
")

# The launcher, its icon, the autostart entry (the tray menu's "Start with
# the desktop" writes the user's own copy; administrators may copy this one
# to /etc/xdg/autostart) and the software centres' description belong to the
# window program.
set(TEVLAN_RELEASE_DATE "2026-12-09")
set(TEVLAN_APPSTREAM_ID example.tevlan.Tevlan)
configure_file(${CMAKE_SOURCE_DIR}/data/tevlan.metainfo.xml.in
  ${CMAKE_BINARY_DIR}/data/${TEVLAN_APPSTREAM_ID}.metainfo.xml @ONLY)
if(TARGET tevlan)
  install(FILES ${CMAKE_SOURCE_DIR}/data/tevlan.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/data/tevlan.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${CMAKE_SOURCE_DIR}/data/tevlan-autostart.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/tevlan/autostart)
  install(FILES ${CMAKE_BINARY_DIR}/data/${TEVLAN_APPSTREAM_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# Manual pages: sources in data/man, the version and the rule's installed
# path filled in, compressed as Debian wants them.
# The rule's path as the install step below chooses it (the package is
# built with the /usr prefix: `make deb`).
if(TEVLAN_UDEV_RULES_DIR)
  set(TEVLAN_MAN_RULE "${TEVLAN_UDEV_RULES_DIR}/70-tevlan.rules")
elseif(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(TEVLAN_MAN_RULE "/usr/lib/udev/rules.d/70-tevlan.rules")
elseif(CMAKE_INSTALL_PREFIX STREQUAL "/usr/local")
  set(TEVLAN_MAN_RULE "/etc/udev/rules.d/70-tevlan.rules")
else()
  set(TEVLAN_MAN_RULE "${CMAKE_INSTALL_PREFIX}/lib/udev/rules.d/70-tevlan.rules")
endif()
set(TEVLAN_MAN_DATE ${TEVLAN_RELEASE_DATE})
find_program(GZIP_PROGRAM gzip REQUIRED)
set(TEVLAN_GZ_OUTPUTS)
# tevlanctl's list of settings comes from the program's table of settings.
add_executable(make_man_settings ${CMAKE_SOURCE_DIR}/tools/make_man_settings.cpp)
target_link_libraries(make_man_settings PRIVATE tevlan_core)
set_target_properties(make_man_settings PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
configure_file(${CMAKE_SOURCE_DIR}/data/man/tevlanctl.1.in ${CMAKE_BINARY_DIR}/man/tevlanctl.1.in @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/tevlanctl.1
  COMMAND make_man_settings ${CMAKE_BINARY_DIR}/man/tevlanctl.1.in ${CMAKE_BINARY_DIR}/man/tevlanctl.1
  DEPENDS make_man_settings ${CMAKE_BINARY_DIR}/man/tevlanctl.1.in
  COMMENT "Settings of the manual page tevlanctl.1" VERBATIM)
configure_file(${CMAKE_SOURCE_DIR}/data/man/tevlan.1.in ${CMAKE_BINARY_DIR}/man/tevlan.1 @ONLY)
foreach(page tevlan.1 tevlanctl.1)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.gz
    COMMAND ${GZIP_PROGRAM} -9nf -k ${CMAKE_BINARY_DIR}/man/${page}
    DEPENDS ${CMAKE_BINARY_DIR}/man/${page}
    COMMENT "Manual page ${page}" VERBATIM)
  list(APPEND TEVLAN_GZ_OUTPUTS ${CMAKE_BINARY_DIR}/man/${page}.gz)
  install(FILES ${CMAKE_BINARY_DIR}/man/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# What Debian wants of every package: the licence, a changelog, and the one
# lintian finding that is by design.
set(TEVLAN_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/tevlan)
configure_file(${CMAKE_SOURCE_DIR}/data/debian/changelog.in ${CMAKE_BINARY_DIR}/debian/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/debian/changelog.gz
  COMMAND ${GZIP_PROGRAM} -9nf -k ${CMAKE_BINARY_DIR}/debian/changelog
  DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog
  COMMENT "Package changelog" VERBATIM)
list(APPEND TEVLAN_GZ_OUTPUTS ${CMAKE_BINARY_DIR}/debian/changelog.gz)
add_custom_target(package_docs ALL DEPENDS ${TEVLAN_GZ_OUTPUTS})
install(FILES ${CMAKE_SOURCE_DIR}/data/debian/copyright ${CMAKE_BINARY_DIR}/debian/changelog.gz
  DESTINATION ${TEVLAN_DOC_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/data/debian/lintian-overrides
  DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME tevlan)

# cpack -G DEB
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tevlan)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tevlan developers")
set(CPACK_PACKAGE_CONTACT "Tevlan developers <maintainers@tevlan.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration program for a programmable gaming mouse")
set(CPACK_PACKAGE_DESCRIPTION "Tevlan sets up the five on-board profiles of a programmable gaming mouse
(USB 248A:5B2E by cable, 248A:5B2F through its receiver): buttons, DPI
levels, polling rate, lift-off distance, key debounce, power saving,
lighting and macros. The package's udev rule lets the user at the desk
open the mouse without root.
.
tevlanctl does the same from the command line and from scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# The install step sees the real prefix (/usr) and writes below DESTDIR, so
# the udev rule's choice above holds for the package too.
set(CPACK_SET_DESTDIR ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tevlan developers <maintainers@tevlan.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.tevlan.example")
# Versions and libraries as the programs themselves need them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Fonts for the scripts the language files are written in: Latin and
# Cyrillic come with DejaVu (the stand-in for the window's Tahoma), Chinese,
# Japanese and Korean with Noto CJK (or WenQuanYi Micro Hei, which covers
# them too); without one every CJK glyph is a box. The Wayland platform
# plugin lets Qt run on Wayland itself instead of XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk | fonts-wqy-microhei, fonts-dejavu-core, qt6-wayland")
# Stripped programs; `make deb` keeps their debug symbols apart in
# build-deb/debug/. (CPack's own -dbgsym package lists build paths in its
# md5sums and lacks the copyright file, which lintian rejects.)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The rule takes effect once udev has reloaded its rules and re-run them on
# the mouse's nodes; after a removal the reload drops it.
set(TEVLAN_POSTINST ${CMAKE_BINARY_DIR}/debian/postinst)
set(TEVLAN_POSTRM ${CMAKE_BINARY_DIR}/debian/postrm)
file(WRITE ${TEVLAN_POSTINST}
  "#!/bin/sh\nset -e\nif [ \"$1\" = configure ] && command -v udevadm >/dev/null 2>&1; then\n  udevadm control --reload || true\n  udevadm trigger --subsystem-match=hidraw || true\nfi\n")
file(WRITE ${TEVLAN_POSTRM}
  "#!/bin/sh\nset -e\nif { [ \"$1\" = remove ] || [ \"$1\" = purge ]; } && command -v udevadm >/dev/null 2>&1; then\n  udevadm control --reload || true\nfi\n")
file(CHMOD ${TEVLAN_POSTINST} ${TEVLAN_POSTRM}
  PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${TEVLAN_POSTINST} ${TEVLAN_POSTRM})
include(CPack)
