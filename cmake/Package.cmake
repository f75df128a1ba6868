# The Debian package, made by CPack from the install rules (scripts/package.sh).
# Its dependencies are what dpkg-shlibdeps finds the programs linked against.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessaly)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR QUARNEL)
set(CPACK_PACKAGE_CONTACT "QUARNEL <support@${TESSALY_HOST}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "stamp pictures with a tiled watermark")
set(CPACK_PACKAGE_DESCRIPTION
    "Tessaly stamps a picture with a watermark repeated edge to edge over it.
Load a base picture and a watermark, or drop them onto the window, set how
strongly the watermark shows, and save the result as a BMP file. The
watermark's bottom-left colour is left out, so that logos keep their shape.

tessaly-stamp does the same for many pictures at once from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://${TESSALY_HOST}/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Web pages and the licence text open through the desktop's default handler.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
