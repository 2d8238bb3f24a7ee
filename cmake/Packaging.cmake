# The Debian package, built by cpack -G DEB (scripts/package does it all): the install tree of
# cmake/Install.cmake under /usr, its library dependencies found by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME skinsmith)
set(CPACK_PACKAGE_VENDOR "The Skinsmith developers")
set(CPACK_PACKAGE_CONTACT "The Skinsmith developers <skinsmith@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${SKINSMITH_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://skinsmith.example.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The language menu names Chinese and Japanese in their own scripts, and those languages need the
# glyphs; a system without CJK fonts shows empty boxes there.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS fonts-noto-cjk)
# Qt's own dialogs (file and colour choosers, message boxes) speak the chosen language with Qt's
# translations; without them they stay in English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "editor for the menu skins of Nintendo DS flash cartridges
Skinsmith edits the skins of a Nintendo DS flash-cartridge menu: a folder with
a settings file and 53 bitmaps that give the menu its look. It shows a
pixel-exact preview of the console's two screens in fourteen menu states,
edits colours, pictures, element positions and the skin information, and
saves the skin as a folder ready for the card or as a ZIP archive with a
preview picture, ready to share.

The package also holds skinsmith-cli, which converts, renders and exports
skins from the command line.")
include(CPack)
