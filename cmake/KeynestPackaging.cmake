# The Debian package, built by `cpack -G DEB` (see scripts/package.sh).
set(CPACK_PACKAGE_NAME keynest)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Keynest developers")
set(CPACK_PACKAGE_CONTACT "Keynest developers <dev@keynest.example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://keynest.example.org/)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small password manager with encrypted items")
set(CPACK_PACKAGE_DESCRIPTION
    "Keynest keeps a list of Items: a Location (the site or account), an
optional URL, User ID, Hint and Note, and the Password. Every field of
every Item is encrypted with the Twofish cipher under the user's UnLock
password before anything is written to disk.

A click on an Item copies its password to the clipboard; a click on its
Location opens its web site. The program locks itself again when it is
left alone, and keeps all its data in one SQLite file.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not found by dpkg-shlibdeps: the icons are drawn by Qt's svg plugins, and
# web sites are opened through xdg-open.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
