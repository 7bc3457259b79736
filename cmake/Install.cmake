# cmake --install: the programs, what they ship read-only, and the desktop's
# files (entries, icons, MIME types, metainfo, man pages, completion, udev rule,
# systemd user unit, autostart entry). Included at the end of the top-level
# CMakeLists.txt so that every program target exists by then; a program that is
# not built (yet) is left out together with its desktop files.
#
# Layout (GNU install folders, relative to the prefix):
#   bin/                          Plindorax, Corvandelle, tessaron
#   libexec/tessaron/             the sibling programs Tavrix, Wendrel, Qex, Ruskel
#   share/tessaron/               pictures, icons, sample documents, the manual, udev rule
# The programs find share/tessaron and libexec/tessaron from their own place
# (common/SuiteFolder.cpp), so an installed tree can be moved as a whole.

include(GNUInstallDirs)

set(TESSARON_DATA "${PROJECT_SOURCE_DIR}/data")
set(TESSARON_SHARED "${CMAKE_INSTALL_DATADIR}/tessaron")
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Programs.
foreach(program Plindorax Corvandelle tessaron)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()
foreach(sibling Tavrix Wendrel Qex Ruskel)
    if(TARGET ${sibling})
        install(TARGETS ${sibling} RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/tessaron)
    endif()
endforeach()

# Shipped read-only: pictures and icons the windows show, the sample documents
# (copied into each user's folder on first use), the udev rule.
file(GLOB TESSARON_INSTALL_PICTURES CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/pictures/*.jpg"
     "${PROJECT_SOURCE_DIR}/pictures/*.ico" "${PROJECT_SOURCE_DIR}/pictures/*.png")
install(FILES ${TESSARON_INSTALL_PICTURES} DESTINATION ${TESSARON_SHARED})
# The user manual, made from docs/manual at build time.
if(TARGET tessaron_manual)
    install(FILES "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Corvandelle.pdf" DESTINATION ${TESSARON_SHARED})
endif()
install(DIRECTORY "${PROJECT_SOURCE_DIR}/Macro Files" DESTINATION ${TESSARON_SHARED})
install(FILES "${PROJECT_SOURCE_DIR}/udev/70-tessaron-keypad.rules"
        DESTINATION ${TESSARON_SHARED})
install(FILES "${PROJECT_SOURCE_DIR}/udev/70-tessaron-keypad.rules" DESTINATION lib/udev/rules.d)

# Man pages and the changelog, compressed as Debian wants them.
set(TESSARON_GZIPPED)
function(tessaron_gzip source target)
    add_custom_command(OUTPUT "${target}"
        COMMAND gzip -9nc "${source}" > "${target}"
        DEPENDS "${source}"
        VERBATIM)
    set(TESSARON_GZIPPED ${TESSARON_GZIPPED} "${target}" PARENT_SCOPE)
endfunction()
set(TESSARON_MAN_PAGES tessaron)
if(TARGET Plindorax)
    list(APPEND TESSARON_MAN_PAGES Plindorax)
endif()
if(TARGET Corvandelle)
    list(APPEND TESSARON_MAN_PAGES Corvandelle)
endif()
foreach(page IN LISTS TESSARON_MAN_PAGES)
    tessaron_gzip("${TESSARON_DATA}/man/${page}.1" "${CMAKE_BINARY_DIR}/data/${page}.1.gz")
    install(FILES "${CMAKE_BINARY_DIR}/data/${page}.1.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
tessaron_gzip("${PROJECT_SOURCE_DIR}/packaging/changelog" "${CMAKE_BINARY_DIR}/data/changelog.gz")
file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/data")
add_custom_target(tessaron_install_data ALL DEPENDS ${TESSARON_GZIPPED})

install(FILES "${PROJECT_SOURCE_DIR}/packaging/copyright" "${CMAKE_BINARY_DIR}/data/changelog.gz"
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/tessaron)
install(FILES "${TESSARON_DATA}/bash-completion/tessaron"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES "${TESSARON_DATA}/mime/tessaron.xml" DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(DIRECTORY "${TESSARON_DATA}/icons/" DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor
        FILES_MATCHING PATTERN "*application-x-tessaron-*")

# Each program's desktop entry, icon and metainfo.
foreach(program Plindorax Corvandelle)
    if(TARGET ${program})
        set(id org.tessaron.${program})
        install(FILES "${TESSARON_DATA}/applications/${id}.desktop"
                DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
        install(FILES "${TESSARON_DATA}/metainfo/${id}.metainfo.xml"
                DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
        install(DIRECTORY "${TESSARON_DATA}/icons/" DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor
                FILES_MATCHING PATTERN "${id}.*")
    endif()
endforeach()

# The headless bridge as a systemd user unit, and Corvandelle started at log-in.
# Their paths depend on the prefix given at install time (cmake --install
# --prefix, or /usr for the package), so they are made then.
set(TESSARON_BRIDGE_UNIT "${CMAKE_BINARY_DIR}/data/tessaron-bridge.service")
install(CODE "
    set(TESSARON_BRIDGE_PROGRAM \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/tessaron\")
    configure_file(\"${TESSARON_DATA}/systemd/tessaron-bridge.service.in\"
                   \"${TESSARON_BRIDGE_UNIT}\" @ONLY)
")
install(FILES "${TESSARON_BRIDGE_UNIT}" DESTINATION lib/systemd/user)
if(TARGET Corvandelle)
    # As GNUInstallDirs places sysconfdir: /etc for the prefix /usr.
    install(CODE "
        if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
            set(autostart /etc/xdg/autostart)
        else()
            set(autostart \"\${CMAKE_INSTALL_PREFIX}/etc/xdg/autostart\")
        endif()
        file(INSTALL \"${TESSARON_DATA}/autostart/org.tessaron.Corvandelle.desktop\"
             DESTINATION \"\${autostart}\")
    ")
endif()

include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
