# What `cmake --install` puts where (GNU directories), and the Debian package
# that CPack makes of it (scripts/package.sh). Only the simulator itself is
# installed: never the tests, benchmarks or generators.
include(GNUInstallDirs)

set(EMS_DATA_DIR ${CMAKE_INSTALL_DATADIR}/sorvik-ems)
set(EMS_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/assets/desktop)
set(EMS_APP_ID org.sorvik.EmsG2Simulator) # names the desktop entry and the metainfo
target_compile_definitions(sorvik-ems PRIVATE EMS_APP_ID="${EMS_APP_ID}")
set(EMS_ICON_DIR ${PROJECT_SOURCE_DIR}/assets/icons)
# The icon's pixel sizes (drawn by tools/appicon), besides the scalable one.
set(EMS_ICON_SIZES 16 22 24 32 48 64 128 256)

install(TARGETS sorvik-ems RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The alarm tone's sound output, loaded when first needed (EMS_MODULE_DIR is
# where the program looks for it, set with the library's target).
install(TARGETS sorvik-ems-sound LIBRARY DESTINATION ${EMS_MODULE_DIR})

# The sample card, the sensor presets, the example scenarios and the
# flight-simulator protocol, beside each other in the data folder; the
# program finds the card there relative to its own folder.
install(DIRECTORY assets/SDCARD DESTINATION ${EMS_DATA_DIR})
install(DIRECTORY assets/presets DESTINATION ${EMS_DATA_DIR})
install(DIRECTORY examples DESTINATION ${EMS_DATA_DIR})
if(EXISTS ${PROJECT_SOURCE_DIR}/assets/flightgear)
  install(DIRECTORY assets/flightgear DESTINATION ${EMS_DATA_DIR})
endif()

# The desktop menu entry, its icon in every usual size, the software
# centre's description.
install(FILES ${EMS_DESKTOP_DIR}/${EMS_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${EMS_DESKTOP_DIR}/${EMS_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size ${EMS_ICON_SIZES})
  install(FILES ${EMS_ICON_DIR}/sorvik-ems-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME sorvik-ems.png)
endforeach()
install(FILES ${EMS_ICON_DIR}/sorvik-ems.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The manual page, compressed as Debian keeps them.
find_program(GZIP gzip REQUIRED)
set(EMS_MAN_GZ ${CMAKE_BINARY_DIR}/sorvik-ems.1.gz)
add_custom_command(OUTPUT ${EMS_MAN_GZ}
  COMMAND ${GZIP} -9 -n -c ${PROJECT_SOURCE_DIR}/docs/sorvik-ems.1 > ${EMS_MAN_GZ}
  DEPENDS ${PROJECT_SOURCE_DIR}/docs/sorvik-ems.1 VERBATIM)
add_custom_target(man_page ALL DEPENDS ${EMS_MAN_GZ})
install(FILES ${EMS_MAN_GZ} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The documentation as the project lays it out, so the links between the
# files work installed too; the copyright file where Debian looks for it.
set(EMS_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/sorvik-ems)
install(FILES README.md assets/desktop/copyright DESTINATION ${EMS_DOC_DIR})
install(FILES docs/USER-GUIDE.md DESTINATION ${EMS_DOC_DIR}/docs)
install(DIRECTORY docs/images DESTINATION ${EMS_DOC_DIR}/docs)

# The Debian package. dpkg-shlibdeps finds the libraries the program links
# (Qt, the C++ run time); the Qt platform plugins come with libqt6gui6.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sorvik-ems)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Sorvik")
set(CPACK_PACKAGE_CONTACT "Sorvik simulator developers <sorvik-ems@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop simulator of the Sorvik EMS G2 engine-monitoring instrument")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "The Sorvik EMS G2 is a panel-mounted aircraft engine-monitoring instrument. This program runs its firmware "
    "logic in a desktop window: the LCD, the soft keys and the knob, simulated sensors, NMEA GPS input and a "
    "folder standing in for its SD card.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hicolor-icon-theme")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://localhost/sorvik-ems")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
