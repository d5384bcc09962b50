# A Debian package from the install rules: cpack -G DEB in the build directory. It
# passes lintian: stripped binaries (their debug symbols in debug/ beside it, linked
# from each binary), compressed manual pages and changelog, a machine-readable
# copyright file.
set(CPACK_PACKAGE_NAME kadromir)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Кадромир")
set(CPACK_PACKAGE_CONTACT "${KADROMIR_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KADROMIR_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for 256 x 256 pictures in 16 colours (SPR, SCR, RMB)")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "A fast viewer for pictures of 256 x 256 pixels in 16 colours stored as four\n"
       "bit planes (.SPR, .SCR with its .pal, .RMB): steps through a folder's\n"
       "pictures, runs a slide show, and comes with a converter to PNG and back that\n"
       "also makes the thumbnails.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KADROMIR_HOMEPAGE})
# The libraries come from the binaries themselves; what they load at run time does not
# show there: Qt's window-system plugins and its Russian texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
# qt6-wayland: a Wayland session without X, or -platform wayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "shared-mime-info, desktop-file-utils, hicolor-icon-theme, qt6-wayland")
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/split_debug.cmake)
set(CPACK_GENERATOR DEB)
include(CPack)
