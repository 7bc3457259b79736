# The Debian package: `cpack -G DEB` in a build folder makes
# tessaron_<version>_<arch>.deb from what `cmake --install` installs, always
# under /usr whatever prefix the build folder was configured with.
# scripts/package.sh builds it as packagers do (Release, Debian's build flags).

set(CPACK_PACKAGE_NAME tessaron)
set(CPACK_PACKAGE_VENDOR "The Tessaron developers")
set(CPACK_PACKAGE_CONTACT "The Tessaron developers <tessaron@example.org>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor and port manager for Tessaron programmable keypads")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# Install with DESTDIR, so that the install-time paths (the unit's ExecStart,
# /etc/xdg/autostart) are the installed system's.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The synopsis above comes first; this is the long description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Software for the Tessaron family of programmable keypads (the 20-key
model 510 and the 12-key model 514). Plindorax, the key redefinition
editor, gives every key a macro on each of two levels, sets the keypad's
parameters and saves redefinition files (.ckd) with their download images
or ROM documents (.rom) with LCD screens. Corvandelle, the tray program,
gives USB keypads virtual serial ports and moves the bytes both ways. The
tessaron command-line tool works on the same documents and runs the
bridge without a desktop, also as a systemd user unit.")
# Found from the programs' shared libraries (Qt, libjpeg, libc), plus what they
# load at run time: hidapi for the USB keypads and Qt's platform plugins.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libhidapi-hidraw0, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")

set(TESSARON_CONTROL_EXTRA "${PROJECT_SOURCE_DIR}/packaging/postinst"
    "${PROJECT_SOURCE_DIR}/packaging/postrm")
if(TARGET Corvandelle)
    # Everything under /etc is the administrator's to change.
    file(WRITE "${CMAKE_BINARY_DIR}/data/conffiles" "/etc/xdg/autostart/org.tessaron.Corvandelle.desktop\n")
    list(APPEND TESSARON_CONTROL_EXTRA "${CMAKE_BINARY_DIR}/data/conffiles")
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${TESSARON_CONTROL_EXTRA})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
