# The Debian package, built by CPack from the install rules (scripts/package.sh).
#
# Its dependencies are worked out, not listed by hand: dpkg-shlibdeps finds the packages
# of the libraries the programs are linked with (Qt, libjpeg, zlib, the C++ runtime), and
# the packages of the Qt plugins they load at run time (the X11 and off-screen windowing,
# printing through CUPS) are asked of dpkg here. Only the fonts are named: the reader
# maps the faces its pages ask for onto them, which no linker can know.

set(font_packages fonts-liberation2 fonts-dejavu-core)

# The package that installed `file`, or nothing when dpkg does not know it.
function(vultaria_owning_package file result)
  set(${result} "" PARENT_SCOPE)
  find_program(DPKG_QUERY dpkg-query)
  if(NOT DPKG_QUERY OR NOT EXISTS "${file}")
    return()
  endif()
  file(REAL_PATH "${file}" real)
  foreach(candidate "${file}" "${real}")
    execute_process(COMMAND ${DPKG_QUERY} --search "${candidate}"
      OUTPUT_VARIABLE owners RESULT_VARIABLE failed ERROR_QUIET)
    # "package[:arch][, package...]: path"; a diversion line has no package of its own.
    string(REGEX MATCH "(^|\n)([a-z0-9][a-z0-9+.-]*)(:[a-z0-9-]+)?(, [^:]*)?: " found "${owners}")
    if(NOT failed AND found)
      set(${result} "${CMAKE_MATCH_2}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
endfunction()

# Packages dpkg-shlibdeps names anyway, with their versions: those of the Qt libraries.
set(linked_packages)
foreach(library Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport)
  foreach(property IMPORTED_LOCATION_RELEASE IMPORTED_LOCATION_RELWITHDEBINFO
                   IMPORTED_LOCATION_NONE IMPORTED_LOCATION)
    get_target_property(location ${library} ${property})
    if(location)
      vultaria_owning_package("${location}" owner)
      list(APPEND linked_packages ${owner})
      break()
    endif()
  endforeach()
endforeach()

set(plugin_packages)
set(plugin_folder ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS})
foreach(plugin platforms/libqxcb.so platforms/libqoffscreen.so printsupport/libcupsprintersupport.so)
  vultaria_owning_package("${plugin_folder}/${plugin}" owner)
  if(NOT owner)
    message(WARNING "No Debian package is known for the Qt plugin ${plugin_folder}/${plugin}: "
                    "the package will not depend on it")
  elseif(NOT owner IN_LIST linked_packages)
    list(APPEND plugin_packages ${owner})
  endif()
endforeach()
list(REMOVE_DUPLICATES plugin_packages)
set(runtime_packages ${plugin_packages} ${font_packages})
list(JOIN runtime_packages ", " CPACK_DEBIAN_PACKAGE_DEPENDS)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vultaria)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Vultaria developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reader for a collection of biographies of Brazilians")
set(CPACK_PACKAGE_DESCRIPTION
  "Vultaria is a desktop reader for an offline collection of biographies of notable\n"
  "Brazilians: type part of a name or pick one from the list, read the biography,\n"
  "follow links between biographies, go back and forward, copy, export and print.\n"
  "The interface is in Brazilian Portuguese. The collection comes with the package.")
list(JOIN CPACK_PACKAGE_DESCRIPTION "" CPACK_PACKAGE_DESCRIPTION)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Vultaria developers")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
# The man pages name the folders of the configured prefix: the package uses that prefix.
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
include(CPack)
