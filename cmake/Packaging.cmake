# The Debian package: the kelvane program (installed by window/), its desktop entry and icon.
#   cmake -S . -B build-pkg -DCMAKE_BUILD_TYPE=Release -DKELVANE_BUILD_TESTS=OFF \
#         -DKELVANE_BUILD_BENCH=OFF
#   cmake --build build-pkg && (cd build-pkg && cpack)   # gives kelvane_<version>_amd64.deb
# The package is only offered for a Linux build with the window.
if(NOT TARGET kelvane OR NOT KELVANE_BUILD_WINDOW OR WIN32)
  return()
endif()

include(GNUInstallDirs)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/kelvane.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The window's own icon, as PNG (packaging/xpm_to_png.py makes it from window/kelvane.xpm).
install(FILES ${CMAKE_SOURCE_DIR}/packaging/kelvane.png
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)

# The manual page, the copyright file and the changelog, where Debian keeps them, compressed.
find_program(KELVANE_GZIP gzip REQUIRED)
foreach(document kelvane.1 changelog)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${document}.gz
    COMMAND ${KELVANE_GZIP} -9 -n -c ${CMAKE_SOURCE_DIR}/packaging/${document}
            > ${CMAKE_BINARY_DIR}/${document}.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/${document})
endforeach()
add_custom_target(kelvane_documents ALL
  DEPENDS ${CMAKE_BINARY_DIR}/kelvane.1.gz ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/kelvane.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kelvane)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kelvane developers")
set(CPACK_PACKAGE_CONTACT "Kelvane developers <kelvane@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Transmitter measurements on a GPIB spectrum analyzer")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Kelvane drives a swept spectrum analyzer over GPIB and runs seven transmitter
measurements: the W-CDMA spectrum emission mask, occupied bandwidth, adjacent
channel power and channel power, the 802.11a and 802.11b emission masks and
the 802.11b total power, at carrier frequencies, reference level and GPIB
address of the bench's choosing. It has one window with a button per
measurement and a result log, and a batch mode (--measure). It reaches the
analyzer through the system's GPIB library (linux-gpib or NI-488.2), through
a Prologix-protocol GPIB-ETHERNET or GPIB-USB adapter (--bus), or runs on its
built-in simulated analyzer (--simulate).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps (from dpkg-dev) works out the Qt, C++ and database library dependencies, with
# their versions, from the binary; without it they are named plainly. The databases' libraries
# (SQLite, PostgreSQL's libpq) are named in either case. The GPIB driver library is loaded at
# run time, so it is no dependency.
set(database_depends "")
if(KELVANE_BUILD_DATABASES)
  set(database_depends "libsqlite3-0, libpq5")
endif()
find_program(KELVANE_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(KELVANE_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${database_depends}")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libqt6widgets6, libqt6svg6, libqt6gui6, libqt6core6, libstdc++6")
  if(database_depends)
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", ${database_depends}")
  endif()
endif()
include(CPack)
