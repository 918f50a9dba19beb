# The Debian package: `cmake --build <dir> --target package` makes vandrel_<version>_amd64.deb.
#
# The install folder (everything `cmake --install` lays out) goes to VANDREL_PACKAGE_FOLDER; the
# desktop integration (the `vandrel` command, launcher, icons, AppStream data, manual page,
# copyright and changelog) goes under /usr. The desktop parts are their own install component,
# left out of a plain `cmake --install`, so installing into a folder never touches /usr.

# /usr/lib/vandrel rather than /opt/vandrel: Debian packages must not install into /opt.
set(VANDREL_PACKAGE_FOLDER /usr/lib/vandrel CACHE STRING
  "Where the Debian package puts the install folder")
set(VANDREL_PACKAGE_ID org.quillane.vandrel)
set(VANDREL_PACKAGE_MAINTAINER "Quillane <support@quillane.org>" CACHE STRING
  "Maintainer field of the Debian package")

set(packaging_src ${PROJECT_SOURCE_DIR}/packaging)
set(packaging_out ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${packaging_out})

# The release date in the AppStream data and the changelog: that of the commit built.
execute_process(COMMAND git log -1 --format=%cs WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  OUTPUT_VARIABLE VANDREL_RELEASE_DATE OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
execute_process(COMMAND git log -1 --format=%cD WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  OUTPUT_VARIABLE VANDREL_RELEASE_STAMP OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT VANDREL_RELEASE_DATE OR NOT VANDREL_RELEASE_STAMP)
  string(TIMESTAMP VANDREL_RELEASE_DATE "%Y-%m-%d" UTC)
  string(TIMESTAMP VANDREL_RELEASE_STAMP "%a, %d %b %Y %H:%M:%S +0000" UTC)
endif()
set(CPACK_PACKAGE_CONTACT "${VANDREL_PACKAGE_MAINTAINER}")

configure_file(${packaging_src}/${VANDREL_PACKAGE_ID}.metainfo.xml.in
  ${packaging_out}/${VANDREL_PACKAGE_ID}.metainfo.xml @ONLY)
configure_file(${packaging_src}/vandrel.1.in ${packaging_out}/vandrel.1 @ONLY)
configure_file(${packaging_src}/changelog.in ${packaging_out}/changelog @ONLY)

# The `vandrel` command: a link to the executable, which finds its install folder through it.
if(VANDREL_PACKAGE_FOLDER MATCHES "^/usr/")
  file(RELATIVE_PATH command_target /usr/bin ${VANDREL_PACKAGE_FOLDER}/vandrel)
else()
  set(command_target ${VANDREL_PACKAGE_FOLDER}/vandrel)
endif()
file(CREATE_LINK ${command_target} ${packaging_out}/vandrel SYMBOLIC)

# Compressed as Debian keeps them; -n leaves the time out so the package builds the same twice.
set(packaging_outputs)
foreach(pair "vandrel.1;vandrel.1.gz" "changelog;changelog.gz")
  list(GET pair 0 from)
  list(GET pair 1 to)
  add_custom_command(OUTPUT ${packaging_out}/${to}
    COMMAND gzip -9n -c ${packaging_out}/${from} > ${packaging_out}/${to}
    DEPENDS ${packaging_out}/${from} VERBATIM)
  list(APPEND packaging_outputs ${packaging_out}/${to})
endforeach()

# The icon in the usual sizes, drawn from the one SVG.
set(VANDREL_ICON_SIZES 48 64 128 256)
find_program(RSVG_CONVERT rsvg-convert)
if(RSVG_CONVERT)
  foreach(size ${VANDREL_ICON_SIZES})
    set(png ${packaging_out}/icons/${size}/${VANDREL_PACKAGE_ID}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${packaging_out}/icons/${size}
      COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png}
              ${packaging_src}/${VANDREL_PACKAGE_ID}.svg
      DEPENDS ${packaging_src}/${VANDREL_PACKAGE_ID}.svg
      COMMENT "Icon ${size}x${size}" VERBATIM)
    list(APPEND packaging_outputs ${png})
    install(FILES ${png} DESTINATION share/icons/hicolor/${size}x${size}/apps
      COMPONENT desktop EXCLUDE_FROM_ALL)
  endforeach()
else()
  message(WARNING "rsvg-convert (librsvg2-bin) not found: the package will hold the SVG icon "
    "only. scripts/install-deps.sh installs it.")
endif()
add_custom_target(vandrel_packaging_files ALL DEPENDS ${packaging_outputs})

install(FILES ${packaging_out}/vandrel DESTINATION bin COMPONENT desktop EXCLUDE_FROM_ALL)
install(FILES ${packaging_src}/${VANDREL_PACKAGE_ID}.desktop DESTINATION share/applications
  COMPONENT desktop EXCLUDE_FROM_ALL)
install(FILES ${packaging_out}/${VANDREL_PACKAGE_ID}.metainfo.xml DESTINATION share/metainfo
  COMPONENT desktop EXCLUDE_FROM_ALL)
install(FILES ${packaging_src}/${VANDREL_PACKAGE_ID}.svg
  DESTINATION share/icons/hicolor/scalable/apps COMPONENT desktop EXCLUDE_FROM_ALL)
install(FILES ${packaging_out}/vandrel.1.gz DESTINATION share/man/man1
  COMPONENT desktop EXCLUDE_FROM_ALL)
install(FILES ${packaging_src}/copyright DESTINATION share/doc/vandrel
  COMPONENT desktop EXCLUDE_FROM_ALL)
install(FILES ${packaging_out}/changelog.gz DESTINATION share/doc/vandrel
  COMPONENT desktop EXCLUDE_FROM_ALL)

# One package from two install runs: the install folder into VANDREL_PACKAGE_FOLDER, the desktop
# component into /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vandrel)
set(CPACK_PACKAGE_VENDOR Quillane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Ryodoraku electro-acupuncture diagnosis workstation")
set(CPACK_PACKAGE_DESCRIPTION
  "A practitioner's desktop workstation for electro-acupuncture diagnosis\n"
  "by the Ryodoraku method and the treatment that follows: client cards,\n"
  "24-point measurements through a device library (a virtual device is\n"
  "included), corridor evaluation, graphs, treatment recommendations,\n"
  "colour and frequency therapy, open points, an appointment schedule,\n"
  "printable reports and a translatable interface. The client base is an\n"
  "embedded Firebird database, optionally kept in step with a shared base\n"
  "on a Firebird server.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_INSTALL_CMAKE_PROJECTS
  "${CMAKE_BINARY_DIR};vandrel;Unspecified;${VANDREL_PACKAGE_FOLDER}"
  "${CMAKE_BINARY_DIR};vandrel;desktop;/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries the program links come from dpkg-shlibdeps; the rest is loaded or run at run time:
# the Firebird driver of Qt SQL, the embedded engine and gbak, the web engine's helper process
# and the sound back end's decoders.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libqt6sql6-ibase, firebird3.0-server-core, firebird3.0-utils, libqt6webenginecore6-bin, \
libqt6svg6, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-libav, qt6-wayland")

include(CPack)
