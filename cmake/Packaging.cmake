# What `cmake --install` puts beside the programs, and the Debian package that CPack makes of
# it (`bash scripts/package.sh`): man pages, PNG icons, AppStream metadata, copyright and
# changelog. Included from the top CMakeLists after every program's folder.
include(GNUInstallDirs)

set(TALVORA_MAINTAINER "TALVORA developers <dev@talvora.invalid>")
set(TALVORA_APPSTREAM_ID "org.talvora.talvora")
# The date of this version's release: the man pages, the metadata and the changelog carry it.
set(TALVORA_RELEASE_DATE "2026-12-06")
set(TALVORA_RELEASE_DATE_RFC2822 "Sun, 06 Dec 2026 00:00:00 +0000")
set(TALVORA_ICON_SIZES 16 22 24 32 48 64 128 256)

set(talvora_programs talvora talvora-sim)
set(TALVORA_CLI_BINARY "")
set(TALVORA_CLI_SENTENCE "")
if(TARGET talvora_cli)
  install(TARGETS talvora_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  list(APPEND talvora_programs talvora-cli)
  set(TALVORA_CLI_BINARY "\n    <binary>talvora-cli</binary>")
  set(TALVORA_CLI_SENTENCE ", and talvora-cli, which reads, programs and tests a module from a script")
endif()

set(talvora_packaging ${PROJECT_BINARY_DIR}/packaging)

# A file compressed as Debian wants it: best compression, no name or time stamp inside.
function(talvora_gzip input output)
  execute_process(COMMAND gzip -9nc ${input} OUTPUT_FILE ${output} COMMAND_ERROR_IS_FATAL ANY)
endfunction()

foreach(program ${talvora_programs})
  configure_file(${PROJECT_SOURCE_DIR}/docs/man/${program}.1.in ${talvora_packaging}/${program}.1
                 @ONLY)
  talvora_gzip(${talvora_packaging}/${program}.1 ${talvora_packaging}/${program}.1.gz)
  install(FILES ${talvora_packaging}/${program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

configure_file(${PROJECT_SOURCE_DIR}/packaging/talvora.metainfo.xml.in
               ${talvora_packaging}/${TALVORA_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${talvora_packaging}/${TALVORA_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/changelog.in ${talvora_packaging}/changelog
               @ONLY)
talvora_gzip(${talvora_packaging}/changelog ${talvora_packaging}/changelog.gz)
install(FILES ${talvora_packaging}/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/talvora)

# PNG icons for desktops that take no SVG, made from the SVG when rsvg-convert is at hand.
find_program(TALVORA_RSVG_CONVERT rsvg-convert)
if(TALVORA_RSVG_CONVERT)
  set(svg ${PROJECT_SOURCE_DIR}/packaging/talvora.svg)
  set(pngs)
  foreach(size ${TALVORA_ICON_SIZES})
    set(png ${talvora_packaging}/icons/${size}x${size}/talvora.png)
    add_custom_command(
      OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${talvora_packaging}/icons/${size}x${size}
      COMMAND ${TALVORA_RSVG_CONVERT} --width ${size} --height ${size} --output ${png} ${svg}
      DEPENDS ${svg}
      VERBATIM)
    list(APPEND pngs ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(talvora_icons ALL DEPENDS ${pngs})
else()
  message(STATUS "rsvg-convert not found: no PNG icons (scripts/package.sh installs it)")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME talvora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${TALVORA_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configure and test a serial radio transceiver module")
# One string, wrapped for 80 columns (a semicolon here would split it into a list).
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "An operator's utility for a radio transceiver module on a serial port:\n"
       "read and program its 32 EEPROM registers with a read-back check, run a\n"
       "link test that shows the link quality from 0 to 5, and exchange text\n"
       "with remote modules. A simulated radio system is built in, and\n"
       "talvora-sim serves it behind a pseudo-terminal for any serial program.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The faces the windows ask for are substituted from these, and DejaVu Sans is the plain face of
# everything the design gives no face (message boxes, menus, tooltips); Qt finds fonts at run
# time, so no library dependency names them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, fonts-comfortaa, fonts-dejavu-core")
# Qt's Wayland plugin, for a Wayland session without X11 (XWayland) or QT_QPA_PLATFORM=wayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
