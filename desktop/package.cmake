# The Debian package (make deb): what the install rules put below /usr, built by CPack's DEB
# generator into kestrane-quorvex_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${KQ_PACKAGE})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kestrane Development")
set(CPACK_PACKAGE_CONTACT "Kestrane Development <packages@quorvex.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for small stand-alone dialog programs")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${CMAKE_CURRENT_SOURCE_DIR}/package/description)
# The install rules run with the real prefix and DESTDIR pointing at the staging folder, so the
# desktop entry names /usr/lib/kestrane-quorvex and the caches of the building system stay as
# they are.
set(CPACK_SET_DESTDIR ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# The staging folder is no installation that make uninstall could undo (dpkg removes the
# package), so the install rules write no record of it (installfinish.cmake).
set(CPACK_CUSTOM_INSTALL_VARIABLES KQ_PACKAGING=ON)
# Debug information stays out of the package; the build folder keeps it.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quorvex.example.org/")
# The libraries the programs link come from dpkg-shlibdeps. Qt loads its platform plug-ins at
# run time, which no link shows: without xcb no window opens, and a portable build bundles the
# xcb and offscreen plug-ins from there.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Qt's own texts (file dialogs, standard buttons) in Russian, and a fixed-pitch font for the
# lists that ask for "Courier New".
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The desktop, MIME and icon caches are refreshed by the triggers of desktop-file-utils,
# shared-mime-info and hicolor-icon-theme, which watch the folders the package fills; the package
# needs no maintainer scripts of its own.

include(CPack)
