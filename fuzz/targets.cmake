# The fuzz targets: one per parser or decoder. Each source defines
# LLVMFuzzerTestOneInput. This list is read twice: by fuzz/CMakeLists.txt to build
# real fuzzers (clang, -DVULTARIA_FUZZ=ON), and by the tests, which replay every file
# kept in fuzz/regressions/<name>/ through the same entry point.
#
#   vultaria_fuzz_target(NAME <name> SOURCE <file.cpp> LIBS <libraries>)
file(GLOB _fuzz_target_lists ${CMAKE_SOURCE_DIR}/fuzz/*/targets.cmake)
foreach(_list ${_fuzz_target_lists})
  include(${_list})
endforeach()
