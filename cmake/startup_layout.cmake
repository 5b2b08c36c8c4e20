# Start-up runs about a third of tevlan's code, but the kernel maps every page
# within 64 kB of each one it faults in, so code scattered through the program
# makes nearly all of it resident. With one section per function, lld lays the
# functions listed in src/app/startup_order.txt first and together, and keeps
# cold parts, static initialisers and the rest apart. Without lld the program
# links the usual way and only costs more memory.
include(CheckCXXSourceCompiles)
set(TEVLAN_STARTUP_ORDER ${TEVLAN_SRC}/app/startup_order.txt)
set(CMAKE_REQUIRED_LINK_OPTIONS -fuse-ld=lld -Wl,--symbol-ordering-file=${TEVLAN_STARTUP_ORDER}
  -Wl,--no-warn-symbol-ordering)
check_cxx_source_compiles("int main() { return 0; }" TEVLAN_HAVE_ORDERED_LINK)
unset(CMAKE_REQUIRED_LINK_OPTIONS)
if(TEVLAN_HAVE_ORDERED_LINK)
  add_compile_options(-ffunction-sections)
else()
  message(STATUS "lld not found: tevlan links without its start-up layout")
endif()

function(tevlan_startup_layout target)
  if(TEVLAN_HAVE_ORDERED_LINK)
    target_link_options(${target} PRIVATE -fuse-ld=lld
      LINKER:--symbol-ordering-file=${TEVLAN_STARTUP_ORDER}
      LINKER:--no-warn-symbol-ordering
      # The 20-byte identifier GNU ld gives, which debug-symbol tools expect.
      LINKER:--build-id=sha1)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${TEVLAN_STARTUP_ORDER})
  endif()
endfunction()
