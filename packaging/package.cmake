# The Debian package: `make package` (cmake --build build --target package)
# writes build/pandrel_<version>_amd64.deb.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pandrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Pandrel developers")
set(CPACK_PACKAGE_CONTACT "The Pandrel developers <pandrel@example.org>")
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
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://pandrel.example.org/")
# Qt and the C++ run-time come from the binaries; the platform plugins and
# the fonts the renderer letters with and draws the chess symbols from are
# not linked, so they are named.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6gui6, fonts-dejavu-core, fonts-noto-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-freefont-ttf, qt6-wayland, stockfish, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
include(CPack)
