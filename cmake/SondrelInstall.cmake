# What `cmake --install` puts where, in the layout of a Debian system:
#   bin/                      Sondrel, sondrel-cli, and sondrel (a link to Sondrel)
#   lib/sondrel/              the shared objects: libtrindle.so, libsondrel-device.so
#   share/sondrel/            the program folder's data: SoftSet.ini, Lang/, lang/ (help)
#   share/applications/, share/icons/hicolor/, share/metainfo/   the desktop integration
#   share/man/man1/           the window's manual page (sondrel.1, and Sondrel.1 a link to it)
#   share/man/man1/, share/bash-completion/completions/   sondrel-cli's, when their sources exist
# The installed program finds share/sondrel/ and lib/sondrel/ from its own path
# (util/ModuleFolder.h); what it writes goes to the user's folders.

# sondrel_install_link(TARGET LINK): LINK (relative to the prefix) points to TARGET.
function(sondrel_install_link target link)
    install(CODE "file(CREATE_LINK ${target} \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${link}\" SYMBOLIC)")
endfunction()

install(TARGETS Sondrel sondrel-cli RUNTIME DESTINATION bin)
sondrel_install_link(Sondrel bin/sondrel)
install(TARGETS trindle sondrel-device-preload LIBRARY DESTINATION ${SONDREL_INSTALL_LIB_DIR})

install(FILES ${PROJECT_SOURCE_DIR}/lang/data/SoftSet.ini DESTINATION ${SONDREL_INSTALL_DATA_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/lang/data/Lang DESTINATION ${SONDREL_INSTALL_DATA_DIR})
if(TARGET sondrel_help)
    install(DIRECTORY ${SONDREL_PROGRAM_DIR}/lang DESTINATION ${SONDREL_INSTALL_DATA_DIR})
endif()

# The icon in the sizes of the hicolor theme, drawn by the artwork generator.
set(_hicolor ${CMAKE_BINARY_DIR}/hicolor)
add_custom_command(
    OUTPUT ${_hicolor}/256x256/apps/sondrel.png
    COMMAND sondrel-artgen --theme-icons ${_hicolor}
    DEPENDS sondrel-artgen
    COMMENT "Drawing the theme icons"
    VERBATIM)
add_custom_target(sondrel_theme_icons ALL DEPENDS ${_hicolor}/256x256/apps/sondrel.png)
install(DIRECTORY ${_hicolor} DESTINATION share/icons)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/sondrel.desktop DESTINATION share/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/sondrel.metainfo.xml DESTINATION share/metainfo)

install(FILES ${PROJECT_SOURCE_DIR}/docs/man/sondrel.1 DESTINATION share/man/man1)
sondrel_install_link(sondrel.1 share/man/man1/Sondrel.1)
# The command line's manual page and bash completion, where the sources hold them.
if(EXISTS ${PROJECT_SOURCE_DIR}/docs/man/sondrel-cli.1)
    install(FILES ${PROJECT_SOURCE_DIR}/docs/man/sondrel-cli.1 DESTINATION share/man/man1)
endif()
if(EXISTS ${PROJECT_SOURCE_DIR}/tools/completion/sondrel-cli)
    install(FILES ${PROJECT_SOURCE_DIR}/tools/completion/sondrel-cli
            DESTINATION share/bash-completion/completions)
endif()
