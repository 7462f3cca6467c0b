# Installation layout and the Debian package (cpack -G DEB, or `make package` in the build folder).
include(GNUInstallDirs)

install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/ventacq.desktop
              ${CMAKE_SOURCE_DIR}/resources/desktop/ventlink.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/ventacq.svg
              ${CMAKE_SOURCE_DIR}/resources/icons/ventlink.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The udev rule goes to lib/udev/rules.d under the prefix: /usr/lib/udev/rules.d in the package,
# which udev reads (and which is /lib/udev/rules.d on a merged-/usr system such as Debian 12). An
# install into any other prefix keeps it inside that prefix (copy it to /etc/udev/rules.d there).
install(FILES ${CMAKE_SOURCE_DIR}/resources/udev/60-ventolux.rules
        DESTINATION lib/udev/rules.d)

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "ventolux")
set(CPACK_PACKAGE_VENDOR "Ventolux")
set(CPACK_PACKAGE_CONTACT "Ventolux software team <software@ventolux.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop software of the Ventolux anemometers")
set(CPACK_PACKAGE_DESCRIPTION
    "ventacq measures air velocity and flow rate live; ventlink downloads the instrument's stored records; ventsim is a virtual instrument for training and tests.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "science")
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4), libqt6serialport6 (>= 6.4), libqcustomplot2.1-qt6, libqt6svg6, qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation, fonts-noto-cjk, libc6, libstdc++6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "udev")
include(CPack)
