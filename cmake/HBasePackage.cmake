# `make package`: two Debian packages, the QML module and the instrument simulator, for the target
# architecture of the build (amd64 natively, arm64 in the cross build).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME hbase)
set(CPACK_PACKAGE_VENDOR "HBase developers")
set(CPACK_PACKAGE_CONTACT "HBase developers <hbase@localhost>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL module simulator)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)

if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(aarch64|arm64)$")
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64)$")
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
endif()
# The shared libraries the binaries link (Qt, Boost, libc) become dependencies by themselves.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_MODULE_PACKAGE_NAME qml-module-hbase)
set(CPACK_COMPONENT_MODULE_DESCRIPTION
    "QML module HBase 1.0: back-end types of the TK520 instrument's touch interface")
# Loaded at run time, so not found by the library scan: the favourites database's SQL driver and the
# Qt Quick module every HBase interface imports.
if(HBASE_QT_MAJOR EQUAL 6)
  set(CPACK_DEBIAN_MODULE_PACKAGE_DEPENDS "libqt6sql6-sqlite, qml6-module-qtquick")
else()
  set(CPACK_DEBIAN_MODULE_PACKAGE_DEPENDS "libqt5sql5-sqlite, qml-module-qtquick2")
endif()

set(CPACK_DEBIAN_SIMULATOR_PACKAGE_NAME hbase-sim)
set(CPACK_COMPONENT_SIMULATOR_DESCRIPTION
    "Simulator of the TK520 instrument's services on the D-Bus session bus, with recording device-command stubs")
set(CPACK_DEBIAN_SIMULATOR_PACKAGE_DEPENDS "dbus-daemon")

include(CPack)
