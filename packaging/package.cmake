# The Debian package: `make package` (cmake --build build --target package)
# writes build/pandrel_<version>_amd64.deb.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pandrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Pandrel Developers")
set(CPACK_PACKAGE_CONTACT "Pandrel Developers <pandrel@pandrel.org>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Pandrel Developers <pandrel@pandrel.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "chess diagram editor")
set(CPACK_PACKAGE_DESCRIPTION
  "Pandrel holds one chess position on a board of up to 400 squares, with fairy\n\
pieces, lets you set it up with the mouse, a palette, the keyboard or FEN text,\n\
and shows it as a diagram in a named style, to save, copy, print or hand to a\n\
problem solver or an engine. It opens books of games and problems (PGN, EPD,\n\
FEN, PBM), steps through and searches them, and adds positions to them.\n\
.\n\
This package also holds pandrel-cli, the same work from the command line, and\n\
Quillet, which builds the pieces bitmap of a style.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_FILE_NAME pandrel_${PROJECT_VERSION}_amd64)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
# The programs lie in /usr/bin, so the section is graphics (games would want
# them in /usr/games). The project has no web site yet: no Homepage field.
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Qt and the C++ run-time come from the binaries (the platform plugins are
# in libqt6gui6, which the binaries link); the fonts the renderer letters
# with and draws the chess symbols from are not linked, so they are named.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-noto-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-freefont-ttf, qt6-wayland, stockfish, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# Directories and files as Debian installs them: 0755 and 0644.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
