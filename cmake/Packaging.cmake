# Installing and packaging. `cmake --install` puts the programs, the desktop entry, the theme icons
# and the metainfo under the prefix; scripts/package.sh makes a .deb and a .tar.gz with CPack.
# Each program's folder installs it (app/, and cli/ for corvane-cli); res/desktop/ the rest.

set(CPACK_PACKAGE_NAME "corvane")
set(CPACK_PACKAGE_VENDOR "Orlane")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the unit table of a Japanese war strategy game")
set(CPACK_PACKAGE_DESCRIPTION "Corvane edits UNITINFO.DAT, the table of the 1280 units of a Japanese war strategy \
game, in a Japanese form: every field of a unit, its weapons, movement set and producing \
countries. Units are exchanged as .sui files. Saving keeps the game's own file once as \
UNITINFO.ORG.")
set(CPACK_PACKAGE_CONTACT "Corvane developers <corvane@localhost>")
set(CPACK_STRIP_FILES ON)

# .deb: the libraries' packages come from dpkg-shlibdeps; the rest is what the program loads at run
# time: Qt's X11 platform plugin, Qt's Japanese translations and the dialog font's stand-in.
set(CPACK_DEBIAN_PACKAGE_SECTION "games")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-ipafont-gothic")

include(CPack)
