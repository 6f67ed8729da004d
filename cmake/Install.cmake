# cmake --install: the programs, the stand-in C/FRONT library where the programs find it, the
# desktop entry and icons, man pages, bash completion and the sample export. Every file belongs
# to one of three components, one Debian package each (cmake/Package.cmake):
#   cli     quellix-cli, its man page, bash completion and the sample export
#   gui     the desktop program quellix, its man page, desktop entry and icons
#   cfront  the stand-in C/FRONT library, cfront-db and its man page
include(GNUInstallDirs)

# The private library folder is the program path the database commands default to: it holds
# cfront/cfront.so. The programs find it relative to their own folder, so an installed tree
# works wherever it is unpacked (dpkg -x, a staging root).
set(QUELLIX_LIBRARY_DIR lib/quellix)
file(RELATIVE_PATH QUELLIX_LIBRARY_FROM_BIN /${CMAKE_INSTALL_BINDIR} /${QUELLIX_LIBRARY_DIR})
set_property(SOURCE ${PROJECT_SOURCE_DIR}/db/ProgramPath.cpp APPEND PROPERTY
             COMPILE_DEFINITIONS QUELLIX_INSTALLED_PROGRAM_PATH="${QUELLIX_LIBRARY_FROM_BIN}")

# The components and their package names; the documentation folder of each is named after its
# package.
set(QUELLIX_COMPONENTS cli gui cfront)
set(QUELLIX_PACKAGE_cli quellix-cli)
set(QUELLIX_PACKAGE_gui quellix)
set(QUELLIX_PACKAGE_cfront quellix-cfront)
if(NOT QUELLIX_GUI)
  list(REMOVE_ITEM QUELLIX_COMPONENTS gui)
endif()

# The targets the installed tree holds: the target quellix_installed builds them and nothing else
# (no tests, no benchmarks), for scripts/package.sh.
set(QUELLIX_INSTALLED_TARGETS quellix-cli cfront-db cfront)
if(NOT WIN32)
  list(APPEND QUELLIX_INSTALLED_TARGETS man_pages)
endif()
install(TARGETS quellix-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT cli)
install(TARGETS cfront-db RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT cfront)
if(QUELLIX_GUI)
  install(TARGETS quellix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT gui)
  list(APPEND QUELLIX_INSTALLED_TARGETS quellix)
endif()
install(TARGETS cfront LIBRARY DESTINATION ${QUELLIX_LIBRARY_DIR}/cfront COMPONENT cfront)

set(QUELLIX_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
install(FILES ${QUELLIX_PACKAGING_DIR}/quellix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        COMPONENT gui)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/hicolor/${size}/quellix.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps COMPONENT gui)
endforeach()
install(FILES ${QUELLIX_PACKAGING_DIR}/bash-completion/quellix-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions COMPONENT cli)
install(FILES ${PROJECT_SOURCE_DIR}/examples/sample-export.txt
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quellix-cli/examples COMPONENT cli)

# Each package's copyright file (machine-readable, what the packages link in) and changelog.
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/packaging/changelog.gz
  COMMAND sh -c "mkdir -p \"$(dirname \"$2\")\" && gzip -9nc \"$1\" > \"$2\""
          sh ${QUELLIX_PACKAGING_DIR}/debian/changelog ${PROJECT_BINARY_DIR}/packaging/changelog.gz
  DEPENDS ${QUELLIX_PACKAGING_DIR}/debian/changelog
  VERBATIM)
add_custom_target(package_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
list(APPEND QUELLIX_INSTALLED_TARGETS package_changelog)
foreach(component ${QUELLIX_COMPONENTS})
  install(FILES ${QUELLIX_PACKAGING_DIR}/debian/copyright ${PROJECT_BINARY_DIR}/packaging/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${QUELLIX_PACKAGE_${component}} COMPONENT ${component})
endforeach()

# Man pages, written by hand with the version filled in, compressed as Debian keeps them (-n: no
# time stamp, so the package is reproducible). quellix-cli's entries of the operation table's
# commands are written by quellix-man-page from the table itself.
# Not for Windows, which reads no man pages (and cannot run the generator where it is built).
if(NOT WIN32)
  add_executable(quellix-man-page ${QUELLIX_PACKAGING_DIR}/man/ManPageMain.cpp)
  target_link_libraries(quellix-man-page PRIVATE quellix_cli)
  set(QUELLIX_MAN_PAGES)
  set(QUELLIX_MAN_PROGRAMS quellix quellix-cli cfront-db)
  set(QUELLIX_MAN_COMPONENTS gui cli cfront)
  foreach(program component IN ZIP_LISTS QUELLIX_MAN_PROGRAMS QUELLIX_MAN_COMPONENTS)
    set(page ${program}.1)
    if(page STREQUAL quellix-cli.1)
      configure_file(${QUELLIX_PACKAGING_DIR}/man/${page}.in ${PROJECT_BINARY_DIR}/man/${page}.table @ONLY)
      add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/man/${page}
        COMMAND quellix-man-page ${PROJECT_BINARY_DIR}/man/${page}.table ${PROJECT_BINARY_DIR}/man/${page}
        DEPENDS quellix-man-page ${PROJECT_BINARY_DIR}/man/${page}.table
        VERBATIM)
    else()
      configure_file(${QUELLIX_PACKAGING_DIR}/man/${page}.in ${PROJECT_BINARY_DIR}/man/${page} @ONLY)
    endif()
    add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/man/${page}.gz
      COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" sh ${PROJECT_BINARY_DIR}/man/${page} ${PROJECT_BINARY_DIR}/man/${page}.gz
      DEPENDS ${PROJECT_BINARY_DIR}/man/${page}
      VERBATIM)
    list(APPEND QUELLIX_MAN_PAGES ${PROJECT_BINARY_DIR}/man/${page}.gz)
    if(component IN_LIST QUELLIX_COMPONENTS)
      install(FILES ${PROJECT_BINARY_DIR}/man/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
              COMPONENT ${component})
    endif()
  endforeach()
  add_custom_target(man_pages ALL DEPENDS ${QUELLIX_MAN_PAGES})
endif()

add_custom_target(quellix_installed)
add_dependencies(quellix_installed ${QUELLIX_INSTALLED_TARGETS})

# The installed tree works: cmake --install into a scratch prefix, then the checks of
# scripts/check-install.sh (the package build runs the same checks on the unpacked package).
if(QUELLIX_TESTS)
  set(QUELLIX_CHECK_GUI "")
  if(QUELLIX_GUI)
    set(QUELLIX_CHECK_GUI --gui)
  endif()
  add_test(NAME install COMMAND sh -c
    "prefix=$(mktemp -d) && trap 'rm -rf \"$prefix\"' EXIT && \"$1\" --install \"$2\" --prefix \"$prefix\" > /dev/null && \"$3\" \"$prefix\" \"$4\" $5"
    sh ${CMAKE_COMMAND} ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR}/scripts/check-install.sh ${PROJECT_VERSION}
    "${QUELLIX_CHECK_GUI}")
  set_tests_properties(install PROPERTIES LABELS install TIMEOUT 120)
endif()
