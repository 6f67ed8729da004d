# The Debian packages (scripts/package.sh), one per install component of cmake/Install.cmake,
# under /usr: build/quellix-cli_<version>_<arch>.deb, quellix_... and quellix-cfront_...
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quellix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quellix developers <quellix@users.noreply.github.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${QUELLIX_COMPONENTS})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps finds the libraries each package's binaries link, with their versions: the C++
# runtime and libgit2 for all, wxWidgets 3.2 for quellix, SQLite and libsodium for quellix-cfront
# (scripts/package.sh --check checks them). The desktop program needs the command line's package
# of the same version (the component dependency below).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

string(CONCAT QUELLIX_DESCRIPTION_TAIL
  "Quellix reads Navision C/AL object text exports and lists unused variables,\n"
  "functions, table fields and SumIndexFields, number ranges, duplicate IDs and\n"
  "more, searches the code with its own regular expressions, exports code and\n"
  "splits exports.\n")

set(CPACK_DEBIAN_CLI_PACKAGE_NAME ${QUELLIX_PACKAGE_cli})
string(CONCAT CPACK_DEBIAN_CLI_DESCRIPTION
  "source analyses of Navision C/AL exports: command line\n${QUELLIX_DESCRIPTION_TAIL}.\n"
  "This package holds the command-line program quellix-cli, for scripts and build\n"
  "pipelines (text, JSON and SARIF output). It needs no graphical libraries.")
set(CPACK_DEBIAN_CLI_PACKAGE_RECOMMENDS bash-completion)
set(CPACK_DEBIAN_CLI_PACKAGE_SUGGESTS ${QUELLIX_PACKAGE_cfront})

set(CPACK_DEBIAN_GUI_PACKAGE_NAME ${QUELLIX_PACKAGE_gui})
string(CONCAT CPACK_DEBIAN_GUI_DESCRIPTION
  "source analyses of Navision C/AL exports: desktop program\n${QUELLIX_DESCRIPTION_TAIL}.\n"
  "This package holds the desktop program quellix (wxWidgets), with sortable,\n"
  "searchable and printable result lists, an object viewer, the comparison of\n"
  "two exports and the database views.")
set(CPACK_DEBIAN_GUI_PACKAGE_RECOMMENDS ${QUELLIX_PACKAGE_cfront})
set(CPACK_COMPONENT_GUI_DEPENDS cli)

set(CPACK_DEBIAN_CFRONT_PACKAGE_NAME ${QUELLIX_PACKAGE_cfront})
string(CONCAT CPACK_DEBIAN_CFRONT_DESCRIPTION
  "SQLite-backed stand-in for Navision's C/FRONT library\n"
  "The database commands of quellix-cli and the database views of quellix read\n"
  "the objects of Navision databases through the C/FRONT client library. This\n"
  "package holds a stand-in for that library, which keeps its databases in\n"
  "SQLite files, and cfront-db, the tool that creates them, imports object text\n"
  "exports into them and manages their users.")
include(CPack)
