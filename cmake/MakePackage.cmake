# Builds the demo client package: stages a Korvane.app bundle around the demo
# client in STAGE, then packs it with korvane-pack.
#   cmake -DPACK=<korvane-pack> -DUI=<korvane-ui> -DINFO_IN=<INFO.in> -DBUILD=<n> -DSTAGE=<dir>
#         -DOUT=<file.pkv> [-DFORMAT=tar.gz] [-DMAJOR=1] [-DMINOR=0] [-DOVERLAY=1]
#         [-DMIN_SYSTEM=10.13] [-DINFO_OUT=<file>] [-DEXTRA=<dir>] -P MakePackage.cmake
# OUT must be <resources>/package/tarnwick.pkv; the packer's INFO (the
# client's [Version] and the package's [Package]) goes to <resources>/INFO,
# which INFO_OUT, when given, must name. EXTRA/Contents, when given, is laid
# over the stage's Contents (the demo's larger client).
foreach(var PACK UI INFO_IN BUILD STAGE OUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "MakePackage: ${var} is required")
  endif()
endforeach()
# korvane-pack writes <resources>/package/tarnwick.pkv and <resources>/INFO,
# the layout every caller asks for.
get_filename_component(res "${OUT}/../.." ABSOLUTE)
if(NOT OUT MATCHES "/package/tarnwick\\.pkv$" OR (DEFINED INFO_OUT AND NOT INFO_OUT STREQUAL "${res}/INFO"))
  message(FATAL_ERROR "MakePackage: OUT must be <resources>/package/tarnwick.pkv and INFO_OUT <resources>/INFO")
endif()
if(NOT BUILD MATCHES "^[0-9]+$")
  message(FATAL_ERROR "MakePackage: BUILD must be a decimal number, not '${BUILD}'")
endif()
if(NOT DEFINED MAJOR)
  set(MAJOR 1)
endif()
if(NOT DEFINED MINOR)
  set(MINOR 0)
endif()
if(NOT DEFINED OVERLAY)
  set(OVERLAY 1)
endif()
if(NOT DEFINED MIN_SYSTEM)
  set(MIN_SYSTEM 10.13)
endif()
if(NOT DEFINED FORMAT)
  set(FORMAT tar.gz)
endif()

set(KORVANE_MAJOR_VERSION ${MAJOR})
set(KORVANE_MINOR_VERSION ${MINOR})
set(KORVANE_PKG_BUILD ${BUILD})
set(KORVANE_ICON_OVERLAY_VERSION ${OVERLAY})

file(REMOVE_RECURSE "${STAGE}")
set(c "${STAGE}/Contents")
file(MAKE_DIRECTORY "${c}/MacOS" "${c}/Resources" "${c}/Frameworks/KorvaneCore.framework/Versions/5")
file(COPY "${UI}" DESTINATION "${c}/MacOS"
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
configure_file("${INFO_IN}" "${c}/Resources/INFO" @ONLY)
# Without it macOS cannot open the installed client.
set(PLIST_EXECUTABLE "korvane-ui")
set(PLIST_IDENTIFIER "com.korvane.client")
set(PLIST_NAME "Korvane")
set(PLIST_SHORT_VERSION "${MAJOR}.${MINOR}")
set(PLIST_BUILD "${BUILD}")
set(PLIST_MIN_SYSTEM "${MIN_SYSTEM}")
configure_file("${CMAKE_CURRENT_LIST_DIR}/../app/bundle/Info.plist.in" "${c}/Info.plist" @ONLY)
file(WRITE "${c}/Resources/README.txt" "Korvane Client demo package, build ${BUILD}.\n")
# A framework-style layout with relative links, as real client bundles have.
file(WRITE "${c}/Frameworks/KorvaneCore.framework/Versions/5/KorvaneCore" "demo framework, build ${BUILD}\n")
file(CREATE_LINK "5" "${c}/Frameworks/KorvaneCore.framework/Versions/Current" SYMBOLIC)
file(CREATE_LINK "Versions/Current/KorvaneCore" "${c}/Frameworks/KorvaneCore.framework/KorvaneCore" SYMBOLIC)

if(DEFINED EXTRA)
  if(NOT IS_DIRECTORY "${EXTRA}/Contents")
    message(FATAL_ERROR "MakePackage: EXTRA must hold a Contents folder: ${EXTRA}")
  endif()
  file(COPY "${EXTRA}/Contents" DESTINATION "${STAGE}")
endif()

# The same stage packs to the same bytes on every machine: modes that do
# not depend on the umask, and mtimes clamped to a fixed date.
execute_process(COMMAND chmod -R u=rwX,go=rX "${STAGE}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "MakePackage: chmod of ${STAGE} failed (${rc})")
endif()

file(MAKE_DIRECTORY "${res}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E env SOURCE_DATE_EPOCH=1704067200
                        "${PACK}" --format "${FORMAT}" "${STAGE}" "${res}"
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "MakePackage: packing ${OUT} failed (${rc})")
endif()
