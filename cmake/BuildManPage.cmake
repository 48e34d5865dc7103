# cmake -DSCDOC=... -DSOURCE=page.1.scd -DPAGE=page.1.gz -P BuildManPage.cmake
# scdoc turns the source into roff; gzip -9n compresses it the way Debian wants
# manual pages: best compression, no name or time stamp, so builds repeat.
get_filename_component(directory ${PAGE} DIRECTORY)
file(MAKE_DIRECTORY ${directory})
execute_process(
    COMMAND ${SCDOC}
    COMMAND gzip -9n
    INPUT_FILE ${SOURCE}
    OUTPUT_FILE ${PAGE}.part
    RESULTS_VARIABLE results)
foreach(result IN LISTS results)
    if(NOT result EQUAL 0)
        file(REMOVE ${PAGE}.part)
        message(FATAL_ERROR "scdoc could not build ${SOURCE}")
    endif()
endforeach()
file(RENAME ${PAGE}.part ${PAGE})
