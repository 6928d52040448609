# A Debian package of what `cmake --install` puts in place: scripts/package builds it with prefix /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zoffinousb)
set(CPACK_PACKAGE_VENDOR "Quenmark Audio")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "load tracks into the Zoffino USB audio player")
set(CPACK_PACKAGE_DESCRIPTION
    "ZoffinoUSB manages the tracks of the Zoffino USB audio player, which
keeps a few tracks in 1 MiB of memory: it divides the memory into 1, 2,
4 or 8 track slots, converts any common audio file to the player's
format and loads it into a slot, and starts and stops playback. It
speaks Italian, and English under an English locale.
.
The package also holds zoffino, the same from the command line, and the
udev rule that gives the user at the computer access to the player.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quenmark Audio <zoffino@quenmark-audio.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The libraries' packages come from the executables themselves (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own dialogs and buttons speak the program's Italian with these; without them, English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/dist/debian/postinst ${PROJECT_SOURCE_DIR}/dist/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
