# Installed layout and the Debian package. Under the prefix (/usr for the package):
#   lib/zq708-cps/         the program directory: zq708-cps, zq708-cli, zq708-sim, the language files
#                          and the pristine setting.ini (a user's own copy lives in ~/.config/zq708-cps)
#   bin/                   relative links to the three programs
#   share/applications, share/mime/packages, share/icons/hicolor, share/man/man1, share/doc/zq708-cps,
#   share/metainfo, share/lintian/overrides
#   lib/udev/rules.d       access to the USB-serial programming cables
include(GNUInstallDirs)
set(ZQ708_INSTALL_PROGRAM_DIR "lib/zq708-cps" CACHE STRING "Program directory below the install prefix")
set(ZQ708_UDEV_RULES_DIR "lib/udev/rules.d" CACHE STRING "udev rules directory below the install prefix")
set(ZQ708_PACKAGE_MAINTAINER
    "ZQ708 programming software developers <maintainers@users.noreply.c-seed-1eaca5a7.example>"
    CACHE STRING "Maintainer field of the Debian package")
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(pkgsrc ${CMAKE_SOURCE_DIR}/packaging)
set(pkgbin ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${pkgbin}/links)

set(zq708_programs zq708-cli zq708-sim)
if(ZQ708_GUI)
    list(PREPEND zq708_programs zq708-cps)
endif()
install(TARGETS ${zq708_programs} RUNTIME DESTINATION ${ZQ708_INSTALL_PROGRAM_DIR})
file(GLOB zq708_lang_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/lang/*.lang)
install(FILES ${zq708_lang_files} ${CMAKE_SOURCE_DIR}/lang/setting.ini DESTINATION ${ZQ708_INSTALL_PROGRAM_DIR})

# The links resolve inside the prefix whatever it is; the programs find their directory through them.
file(RELATIVE_PATH zq708_link_target /p/${CMAKE_INSTALL_BINDIR} /p/${ZQ708_INSTALL_PROGRAM_DIR})
foreach(program ${zq708_programs})
    file(CREATE_LINK ${zq708_link_target}/${program} ${pkgbin}/links/${program} SYMBOLIC)
    install(FILES ${pkgbin}/links/${program} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

# Compressed pages, as Debian ships them; -n keeps the bytes the same from build to build.
find_program(ZQ708_GZIP gzip REQUIRED)
set(zq708_pages zq708-cli.1 zq708-sim.1)
if(ZQ708_GUI)
    list(APPEND zq708_pages zq708-cps.1)
endif()
foreach(doc ${zq708_pages} changelog)
    add_custom_command(OUTPUT ${pkgbin}/${doc}.gz
        COMMAND ${ZQ708_GZIP} -9nc ${pkgsrc}/${doc} > ${pkgbin}/${doc}.gz
        DEPENDS ${pkgsrc}/${doc} VERBATIM)
endforeach()
list(TRANSFORM zq708_pages PREPEND ${pkgbin}/)
list(TRANSFORM zq708_pages APPEND .gz)
add_custom_target(zq708_docs ALL DEPENDS ${zq708_pages} ${pkgbin}/changelog.gz)
install(FILES ${zq708_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${pkgsrc}/copyright ${pkgbin}/changelog.gz ${CMAKE_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/zq708-cps)
install(FILES ${pkgsrc}/60-zq708-cable.rules DESTINATION ${ZQ708_UDEV_RULES_DIR})
install(FILES ${pkgsrc}/zq708-cps.lintian-overrides DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides
        RENAME zq708-cps)

if(ZQ708_GUI)
    # The icon theme's PNGs are painted by the program's own icon code.
    add_executable(zq708-icons ${pkgsrc}/IconExport.cpp)
    target_link_libraries(zq708-icons PRIVATE zq708gui zq708_options)
    set_target_properties(zq708-icons PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${pkgbin})
    set(zq708_icon_sizes 16 22 24 32 48 64 128 256)
    set(zq708_icons "")
    foreach(size ${zq708_icon_sizes})
        list(APPEND zq708_icons ${pkgbin}/icons/${size}x${size}/apps/zq708-cps.png)
    endforeach()
    add_custom_command(OUTPUT ${zq708_icons}
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:zq708-icons> ${pkgbin}/icons
        DEPENDS zq708-icons VERBATIM)
    add_custom_target(zq708_icons ALL DEPENDS ${zq708_icons})
    install(DIRECTORY ${pkgbin}/icons/ DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor)
    install(FILES ${pkgsrc}/zq708-cps.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
    install(FILES ${pkgsrc}/zq708-cps.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/mime/packages)
    install(FILES ${pkgsrc}/org.example.zq708_cps.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
endif()

# `cmake --install` into a fresh prefix lays out the files above and the programs run from there.
add_test(NAME install_layout
    COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DPREFIX=${CMAKE_BINARY_DIR}/install-test
            -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DGUI=${ZQ708_GUI} -P ${pkgsrc}/CheckInstall.cmake)
set_tests_properties(install_layout PROPERTIES TIMEOUT 120)

# The Debian package: `cpack -G DEB` or `make package` in the build directory.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zq708-cps)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${ZQ708_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ZQ708_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# No line of the long description may start with a dot (dpkg reads it as a control statement).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "programming software for the ZQ708 handheld radio
Reads the radio's memory over a USB-serial programming cable, edits its
channels, VFOs, function settings and FM broadcast presets, keeps them in data
files, prints them and writes them back to the radio. Includes the command-line
companion zq708-cli, the simulated radio zq708-sim, English and Chinese
language files, and udev rules for CH340, PL2303, CP210x and FTDI cables.")
# Qt's platform plugins (X11, Wayland) and its translations (the texts of its own dialogs in the
# user's language) are loaded at run time, so no library check finds them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
find_program(ZQ708_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(ZQ708_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
    # Without dpkg-dev the libraries are named by hand (Debian 12's Qt 6.4).
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS
        ", libc6, libstdc++6, libgcc-s1, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4),"
        " libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4)")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${pkgsrc}/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)

# The README's pictures: `cmake --build <build> --target zq708_screenshots` writes them to docs/.
if(ZQ708_GUI)
    add_executable(zq708-screenshots EXCLUDE_FROM_ALL ${pkgsrc}/Screenshots.cpp)
    target_link_libraries(zq708-screenshots PRIVATE zq708gui zq708_options util)
    set_target_properties(zq708-screenshots PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${pkgbin})
    add_custom_target(zq708_screenshots
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                $<TARGET_FILE:zq708-screenshots> ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/docs
        DEPENDS zq708-screenshots VERBATIM)
endif()
