# Halvern as a Linux desktop program: the user guide and the icon compiled into the window,
# and what `cmake --install` and `cpack -G DEB` put on a machine.
include(GNUInstallDirs)

set(HALVERN_DATA_DIR ${PROJECT_SOURCE_DIR}/data)
set(HALVERN_GUIDE_DIR ${PROJECT_SOURCE_DIR}/docs/guide)
# Debian keeps a package's documents under its own (lower-case) name.
set(HALVERN_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/halvern)

# The guide (qrc:/guide/...) and the icon (qrc:/icons/halvern.svg), so F1 always has its
# pages, wherever the program was installed or started from.
if(TARGET halvern_ui)
  file(GLOB HALVERN_GUIDE_FILES CONFIGURE_DEPENDS
    ${HALVERN_GUIDE_DIR}/*.html ${HALVERN_GUIDE_DIR}/*.css ${HALVERN_GUIDE_DIR}/images/*.png)
  qt_add_resources(halvern_ui halvern_guide PREFIX /guide BASE ${HALVERN_GUIDE_DIR}
    FILES ${HALVERN_GUIDE_FILES})
  qt_add_resources(halvern_ui halvern_icons PREFIX /icons BASE ${HALVERN_DATA_DIR}
    FILES ${HALVERN_DATA_DIR}/halvern.svg)
  # The About box names the version of the spreadsheet library it is built with.
  target_link_libraries(halvern_ui PRIVATE PkgConfig::XLSXWRITER)
endif()

# Installation: the two programs, the menu entry, the icon, the .pru file type, the guide and
# the examples.
if(TARGET halvern-cli)
  install(TARGETS halvern-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET halvern)
  install(TARGETS halvern RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${HALVERN_DATA_DIR}/halvern.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${HALVERN_DATA_DIR}/halvern.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${HALVERN_DATA_DIR}/halvern.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  install(DIRECTORY ${HALVERN_GUIDE_DIR}/ DESTINATION ${HALVERN_DOC_DIR}/guide)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/examples/README.md ${PROJECT_SOURCE_DIR}/examples/demo-zone.pru
  ${PROJECT_SOURCE_DIR}/examples/import-example.txt ${PROJECT_SOURCE_DIR}/examples/zone-logger.csv
  DESTINATION ${HALVERN_DOC_DIR}/examples)

# The Debian package: `cpack -G DEB` in a build folder (a Release build, for a package to hand
# out). Its dependencies are the packages of the shared libraries the two programs load, as
# dpkg-shlibdeps finds them, and what Qt loads at run time without linking: the platform
# plugins that open windows and the SVG plugin that draws the icon.
set(CPACK_PACKAGE_NAME halvern)
set(CPACK_PACKAGE_VENDOR "Halvern")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "pressure management analysis of a water supply zone")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(HALVERN_PACKAGE_MAINTAINER "Halvern developers <halvern@localhost>" CACHE STRING
  "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${HALVERN_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
# The report is opened in the desktop's spreadsheet program, whichever it is.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libreoffice-calc | gnumeric")
# The synopsis is the summary above; CPack indents these lines and marks the empty one as the
# paragraph break.
string(JOIN "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Halvern analyses pressure management for one water supply zone. From the zone's"
  "description, its night-use and leakage rates and 24 hourly values of inflow and"
  "pressures it computes the pressure-independent night flow, splits each hour's"
  "inflow into leakage and consumption, predicts pressures and flows for a"
  "fixed-outlet, a time-modulated and a flow-modulated pressure reducing valve, and"
  "turns the savings into annual volumes, money and a payback period. It also"
  "estimates the leakage exponent N1 from a night-time pressure step test."
  ""
  "The package holds the desktop program (halvern, with its user guide behind F1),"
  "the command-line front end (halvern-cli), the .pru project file type and the"
  "demo project.")
include(CPack)

# The installation and the package, checked as a user of the desktop would find them.
if(TARGET halvern AND TARGET halvern-cli)
  add_test(NAME desktop_install
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-install ${CMAKE_BINARY_DIR})
  set_tests_properties(desktop_install PROPERTIES ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0" TIMEOUT 300)
endif()
