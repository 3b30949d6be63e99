# The dock as a layer surface of a Wayland compositor: the client code of the
# layer-shell protocol, generated at build time by wayland-scanner from the
# protocol file that scripts/setup.sh keeps in a cache outside the checkout
# (no Debian binary package ships it). Without the file, the scanner, the
# Wayland client library or Qt's private Gui headers, the platform layer is
# built without it and the dock is placed as under X.
#   pw_layer_shell(<target> <sources>...)   makes <target>, the Wayland
#                              module, of <sources> and the generated code
#                              when it can, and sets PW_LAYER_SHELL_BUILT (ON
#                              or OFF).
#   pw_wayland_protocol(<target> <xml>)   adds one protocol's client code.
set(PW_PROTOCOL_DIR "" CACHE PATH
  "Folder holding wlr-layer-shell-unstable-v1.xml (default: the setup's cache)")

function(pw_find_protocol var file)
  find_file(${var} ${file} NO_DEFAULT_PATH PATHS
    ${PW_PROTOCOL_DIR} $ENV{PW_CACHE}/protocols $ENV{HOME}/.cache/pondwillow/protocols
    /var/cache/pondwillow/protocols)
endfunction()

function(pw_wayland_protocol target xml)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/wayland)
  file(MAKE_DIRECTORY ${out})
  get_filename_component(name ${xml} NAME_WE)
  add_custom_command(OUTPUT ${out}/${name}-client-protocol.h
    COMMAND ${PW_WAYLAND_SCANNER} client-header ${xml} ${out}/${name}-client-protocol.h
    DEPENDS ${xml} VERBATIM)
  add_custom_command(OUTPUT ${out}/${name}-protocol.c
    COMMAND ${PW_WAYLAND_SCANNER} private-code ${xml} ${out}/${name}-protocol.c
    DEPENDS ${xml} VERBATIM)
  # The project is C++ alone: the generated C code is compiled in a C++
  # file, after the header, whose declarations give its interfaces C
  # linkage (the protocol names an argument "namespace", a C++ keyword).
  string(CONCAT wrapper
    "#include <stdint.h>\n#include <stdlib.h>\n#include <wayland-client.h>\n"
    "#define namespace namespace_\n#include \"${name}-client-protocol.h\"\n"
    "#undef namespace\nextern \"C\" {\n#include \"${name}-protocol.c\"\n}\n")
  file(CONFIGURE OUTPUT ${out}/${name}-protocol.cpp CONTENT "${wrapper}" @ONLY)
  # (GCC ignores the code's visibility attribute in C++, and says so.)
  set_source_files_properties(${out}/${name}-protocol.cpp PROPERTIES
    OBJECT_DEPENDS "${out}/${name}-protocol.c;${out}/${name}-client-protocol.h"
    COMPILE_OPTIONS -Wno-attributes)
  target_sources(${target} PRIVATE ${out}/${name}-client-protocol.h ${out}/${name}-protocol.cpp)
  target_include_directories(${target} SYSTEM PRIVATE ${out})
  target_link_libraries(${target} PRIVATE PkgConfig::PW_WL_CLIENT)
endfunction()

function(pw_layer_shell target)
  set(sources ${ARGN})
  pw_find_protocol(PW_LAYER_SHELL_XML wlr-layer-shell-unstable-v1.xml)
  find_program(PW_WAYLAND_SCANNER wayland-scanner)
  pkg_check_modules(PW_WL_CLIENT IMPORTED_TARGET GLOBAL wayland-client)
  pkg_get_variable(PW_WAYLAND_PROTOCOLS wayland-protocols pkgdatadir)
  set(xdg_shell ${PW_WAYLAND_PROTOCOLS}/stable/xdg-shell/xdg-shell.xml)
  set(missing "")
  foreach(need PW_LAYER_SHELL_XML PW_WAYLAND_SCANNER PW_WL_CLIENT_FOUND)
    if(NOT ${need})
      list(APPEND missing ${need})
    endif()
  endforeach()
  if(NOT EXISTS "${xdg_shell}")
    list(APPEND missing xdg-shell.xml)
  endif()
  if(NOT TARGET Qt6::GuiPrivate)
    list(APPEND missing Qt6::GuiPrivate)
  endif()
  if(missing)
    message(STATUS "Layer surfaces on Wayland: off (missing ${missing}; "
                   "scripts/setup.sh as root installs and fetches them)")
    set(PW_LAYER_SHELL_BUILT OFF CACHE INTERNAL "")
    return()
  endif()
  message(STATUS "Layer surfaces on Wayland: on (${PW_LAYER_SHELL_XML})")
  set(PW_LAYER_SHELL_BUILT ON CACHE INTERNAL "")
  add_library(${target} MODULE ${sources})
  pw_wayland_protocol(${target} ${PW_LAYER_SHELL_XML})
  # The layer shell's popups are xdg-shell popups: its code refers to theirs.
  pw_wayland_protocol(${target} ${xdg_shell})
  target_link_libraries(${target} PRIVATE Qt6::GuiPrivate Qt6::Widgets pw_warnings)
endfunction()
