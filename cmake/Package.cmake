# The Debian package (scripts/package.sh): build/quellix_<version>_<arch>.deb from the install
# rules of cmake/Install.cmake, under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quellix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quellix developers <quellix@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Source analyses of Navision C/AL object text exports")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Quellix reads Navision object text exports and lists unused variables, functions,\n"
  "table fields and SumIndexFields, number ranges, duplicate IDs and more, searches the\n"
  "code with its own regular expressions, exports code and splits exports. It comes as\n"
  "the desktop program quellix, the command-line program quellix-cli and cfront-db, the\n"
  "admin tool of the SQLite-backed stand-in C/FRONT library.")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# dpkg-shlibdeps finds the libraries the binaries and cfront.so link, with their versions:
# wxWidgets 3.2, SQLite, libsodium, the C++ runtime (scripts/package.sh --check checks them).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "bash-completion")
include(CPack)
