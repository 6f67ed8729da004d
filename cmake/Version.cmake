# The one version number is project(VERSION) in the top CMakeLists.txt. It reaches the programs
# (--version, the About box) through the generated QuellixVersion.h, and the package through
# cmake/Package.cmake.
configure_file(${PROJECT_SOURCE_DIR}/cmake/QuellixVersion.h.in ${PROJECT_BINARY_DIR}/generated/QuellixVersion.h
               @ONLY)
target_include_directories(quellix_core PUBLIC ${PROJECT_BINARY_DIR}/generated)
