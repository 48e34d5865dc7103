# Install rules shared by the programs: each goes to bin/ with its manual page,
# written in scdoc as doc/man/<program>.1.scd and built into a gzipped page.
include(GNUInstallDirs)

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

find_program(ZENTORIX_SCDOC scdoc)
if(NOT ZENTORIX_SCDOC AND NOT ZENTORIX_FUZZ)
    message(WARNING "scdoc not found: the manual pages are not built and installing fails. "
                    "scripts/install-deps installs it.")
endif()

# Builds doc/man/<name>.<section>.scd into man/<name>.<section>.gz and installs it.
function(zentorix_man_page name section)
    set(source ${PROJECT_SOURCE_DIR}/doc/man/${name}.${section}.scd)
    if(NOT EXISTS ${source})
        message(FATAL_ERROR "${name} has no manual page: write ${source} in scdoc.")
    endif()
    set(page ${PROJECT_BINARY_DIR}/man/${name}.${section}.gz)
    set(destination ${CMAKE_INSTALL_MANDIR}/man${section})
    if(NOT ZENTORIX_SCDOC)
        install(CODE "message(FATAL_ERROR \"${name}(${section}) was not built: install scdoc, then build again.\")")
        return()
    endif()
    add_custom_command(OUTPUT ${page}
        COMMAND ${CMAKE_COMMAND} -DSCDOC=${ZENTORIX_SCDOC} -DSOURCE=${source} -DPAGE=${page}
                -P ${PROJECT_SOURCE_DIR}/cmake/BuildManPage.cmake
        DEPENDS ${source} ${PROJECT_SOURCE_DIR}/cmake/BuildManPage.cmake
        COMMENT "Manual page ${name}(${section})"
        VERBATIM)
    add_custom_target(man_${name}_${section} ALL DEPENDS ${page})
    install(FILES ${page} DESTINATION ${destination})
endfunction()

# zentorix_install_program(<target>): the program and its manual page in
# section 1; tests/ checks its command line against GNU habits and the page.
function(zentorix_install_program target)
    install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    zentorix_man_page(${target} 1)
    set_property(GLOBAL APPEND PROPERTY ZENTORIX_INSTALLED_PROGRAMS ${target})
endfunction()
