# cmake -DVERSION=x.y -DCHANGELOG=... -DMETAINFO=... -P CheckVersions.cmake
# The newest entry of the Debian changelog and of the AppStream releases must
# both be the project's version: a release bumps all three together.
file(STRINGS ${CHANGELOG} first_line LIMIT_COUNT 1)
if(NOT first_line MATCHES "^zentorix \\(([^)]+)\\)")
    message(FATAL_ERROR "${CHANGELOG}: the first line names no version: ${first_line}")
endif()
set(changelog_version ${CMAKE_MATCH_1})

file(READ ${METAINFO} metainfo)
if(NOT metainfo MATCHES "<release version=\"([^\"]+)\"")
    message(FATAL_ERROR "${METAINFO} has no release entry")
endif()
set(metainfo_version ${CMAKE_MATCH_1})

if(NOT changelog_version STREQUAL VERSION OR NOT metainfo_version STREQUAL VERSION)
    message(FATAL_ERROR "project() says ${VERSION}, packaging/changelog says "
                        "${changelog_version}, the metainfo's newest release says "
                        "${metainfo_version}: give them one version.")
endif()
message(STATUS "version ${VERSION} in project(), changelog and metainfo")
