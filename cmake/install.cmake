# What `cmake --install` puts where, and the Debian package built from it.
#
#   bin/tevlan, bin/tevlanctl
#   share/tevlan/skins/, share/tevlan/config/   the program folder of an installed program
#   the udev rule 70-tevlan.rules               see TEVLAN_UDEV_RULES_DIR below
#   share/applications/tevlan.desktop, share/icons/hicolor/scalable/apps/tevlan.svg
#
# The language files are installed next to where they are generated (the root
# CMakeLists.txt).

if(TARGET tevlan)
  install(TARGETS tevlan RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET tevlanctl)
  install(TARGETS tevlanctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
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

# The launcher and its icon belong to the window program.
if(TARGET tevlan)
  install(FILES ${CMAKE_SOURCE_DIR}/data/tevlan.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/data/tevlan.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

# cpack -G DEB
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tevlan)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tevlan developers")
set(CPACK_PACKAGE_CONTACT "Tevlan developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configuration program for a programmable gaming mouse (USB 248A:5B2E, 248A:5B2F)")
set(CPACK_PACKAGE_DESCRIPTION
  "Tevlan sets up the mouse's five on-board profiles: buttons, DPI levels, polling rate, lift-off distance, debounce, power saving, lighting and macros. tevlanctl does the same from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# The install step sees the real prefix (/usr) and writes below DESTDIR, so
# the udev rule's choice above holds for the package too.
set(CPACK_SET_DESTDIR ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tevlan developers")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6core6, libqt6gui6, libqt6widgets6, libudev1, libxi6, libx11-6, libstdc++6, libc6")
# The rule takes effect once udev has reloaded its rules and re-run them on the mouse's nodes.
set(TEVLAN_POSTINST ${CMAKE_BINARY_DIR}/debian/postinst)
file(WRITE ${TEVLAN_POSTINST}
  "#!/bin/sh\nset -e\nif [ \"$1\" = configure ] && command -v udevadm >/dev/null 2>&1; then\n  udevadm control --reload || true\n  udevadm trigger --subsystem-match=hidraw || true\nfi\n")
file(CHMOD ${TEVLAN_POSTINST} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${TEVLAN_POSTINST})
include(CPack)
