# Installs the build into a fresh PREFIX and checks the layout: the program directory, the links
# in bin/, the desktop files, icons, man page and udev rules; then runs the installed CLI, and, with
# the program directory made read-only, checks that it keeps its settings in the user's folder.
# Arguments: BUILD_DIR, PREFIX, SOURCE_DIR, GUI.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()

set(programs zq708-cli zq708-sim)
set(expected
    lib/zq708-cps/english.lang lib/zq708-cps/chinese.lang lib/zq708-cps/setting.ini
    share/doc/zq708-cps/copyright share/doc/zq708-cps/changelog.gz
    lib/udev/rules.d/60-zq708-cable.rules share/lintian/overrides/zq708-cps)
if(GUI)
    list(APPEND programs zq708-cps)
    list(APPEND expected share/applications/zq708-cps.desktop share/mime/packages/zq708-cps.xml
                share/metainfo/org.example.zq708_cps.metainfo.xml)
    foreach(size 16 22 24 32 48 64 128 256)
        list(APPEND expected share/icons/hicolor/${size}x${size}/apps/zq708-cps.png)
    endforeach()
endif()
foreach(program ${programs})
    list(APPEND expected lib/zq708-cps/${program})
    if(NOT IS_SYMLINK ${PREFIX}/bin/${program})
        message(FATAL_ERROR "bin/${program} is not a link")
    endif()
    file(READ_SYMLINK ${PREFIX}/bin/${program} target)
    if(NOT target STREQUAL "../lib/zq708-cps/${program}")
        message(FATAL_ERROR "bin/${program} points to ${target}")
    endif()
endforeach()
foreach(f ${expected})
    if(NOT EXISTS ${PREFIX}/${f})
        message(FATAL_ERROR "missing after install: ${f}")
    endif()
endforeach()

# The installed settings are the shipped ones, not the build's (which hold a developer's choices).
file(READ ${SOURCE_DIR}/lang/setting.ini shipped)
file(READ ${PREFIX}/lib/zq708-cps/setting.ini installed)
if(NOT shipped STREQUAL installed)
    message(FATAL_ERROR "the installed setting.ini differs from lang/setting.ini")
endif()
# Nothing else: no tests, benchmarks or build tools.
foreach(program ${programs})
    list(APPEND expected bin/${program} share/man/man1/${program}.1.gz)
endforeach()
list(APPEND expected share/doc/zq708-cps/README.md)
file(GLOB_RECURSE all RELATIVE ${PREFIX} LIST_DIRECTORIES false ${PREFIX}/*)
list(SORT all)
list(SORT expected)
if(NOT all STREQUAL expected)
    message(FATAL_ERROR "installed files differ.\n got: ${all}\n want: ${expected}")
endif()

# The installed CLI runs through its link and, from a read-only program directory, seeds the
# user's settings folder on first start.
set(config ${PREFIX}/config)
file(CHMOD ${PREFIX}/lib/zq708-cps PERMISSIONS OWNER_READ OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
           WORLD_READ WORLD_EXECUTE)
execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${config}
                        ${PREFIX}/bin/zq708-cli info ${SOURCE_DIR}/tests/data/full_radio.pgm
                RESULT_VARIABLE rc OUTPUT_QUIET)
file(CHMOD ${PREFIX}/lib/zq708-cps PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
           GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "installed zq708-cli info failed: ${rc}")
endif()
execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT uid STREQUAL "0" AND NOT EXISTS ${config}/zq708-cps/setting.ini)
    message(FATAL_ERROR "an installed program did not seed ${config}/zq708-cps/setting.ini")
endif()
file(REMOVE_RECURSE ${PREFIX})
