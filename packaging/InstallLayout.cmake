# Where an installation puts the program: the GNU layout under the prefix. The reader
# looks for its installed collection relative to its own executable, so an installed
# tree keeps working wherever it is unpacked (a package's scratch root, another prefix).
include(GNUInstallDirs)

set(VULTARIA_APP_ID org.vultaria.Vultaria)
set(VULTARIA_COLLECTION_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/vultaria/output)
set(VULTARIA_FULL_COLLECTION_DIR ${CMAKE_INSTALL_FULL_DATADIR}/vultaria/output)
file(RELATIVE_PATH VULTARIA_BIN_TO_COLLECTION
  ${CMAKE_INSTALL_FULL_BINDIR} ${VULTARIA_FULL_COLLECTION_DIR})
