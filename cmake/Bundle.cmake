# Assembles "Korvane Client.app" around the launcher executable, the same
# layout on every platform:
#   Contents/Info.plist                         (from app/bundle/Info.plist.in)
#   Contents/MacOS/korvane-launcher
#   Contents/Resources/{INFO, package/tarnwick.pkv, images/ico_72_tarnwick.png, log/launcher.debug}
#   Contents/Frameworks/plugins/platforms/...   (the launcher's only plug-in path)
set(KORVANE_BUNDLE_DIR "${PROJECT_BINARY_DIR}/Korvane Client.app" CACHE INTERNAL "")
set(KORVANE_MAJOR_VERSION 1 CACHE STRING "major_version of the demo package")
set(KORVANE_MINOR_VERSION 0 CACHE STRING "minor_version of the demo package")
set(KORVANE_CLIENT_APP "" CACHE PATH "Client bundle (Korvane.app) to ship in the launcher; empty: the demo client")
set(KORVANE_PACKAGE_FORMAT "tar.gz" CACHE STRING "Package format: tar.gz, tar, zip, tar.xz or tar.zst")
set_property(CACHE KORVANE_PACKAGE_FORMAT PROPERTY STRINGS tar.gz tar zip tar.xz tar.zst)
if(NOT KORVANE_PACKAGE_FORMAT MATCHES "^(tar\\.gz|tar|zip|tar\\.xz|tar\\.zst)$")
  message(FATAL_ERROR "KORVANE_PACKAGE_FORMAT must be tar.gz, tar, zip, tar.xz or tar.zst, not '${KORVANE_PACKAGE_FORMAT}'")
endif()

function(korvane_assemble_bundle launcher)
  set(contents "${KORVANE_BUNDLE_DIR}/Contents")
  set(res "${contents}/Resources")
  set(bundle_src "${KORVANE_ROOT}/app/bundle")

  # One layout for both platforms, assembled here rather than through
  # MACOSX_BUNDLE, which would name the executable after the bundle.
  set_target_properties(${launcher} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${contents}/MacOS")
  set(PLIST_EXECUTABLE "korvane-launcher")
  set(PLIST_IDENTIFIER "com.korvane.client.launcher")
  set(PLIST_NAME "Korvane Client")
  set(PLIST_SHORT_VERSION "${KORVANE_MAJOR_VERSION}.${KORVANE_MINOR_VERSION}")
  set(PLIST_BUILD "${KORVANE_BUILD_VERSION}")
  set(PLIST_MIN_SYSTEM "${CMAKE_OSX_DEPLOYMENT_TARGET}")
  configure_file("${bundle_src}/Info.plist.in" "${contents}/Info.plist" @ONLY)

  # The package and the launcher's INFO (the client's [Version] and the
  # package's description), both written by korvane-pack.
  if(KORVANE_CLIENT_APP)
    if(NOT IS_DIRECTORY "${KORVANE_CLIENT_APP}/Contents")
      message(FATAL_ERROR "KORVANE_CLIENT_APP: ${KORVANE_CLIENT_APP} is not a client bundle (no Contents)")
    endif()
    # Repack when a file of the client changes; links are packed as links.
    file(GLOB_RECURSE client_paths CONFIGURE_DEPENDS LIST_DIRECTORIES false "${KORVANE_CLIENT_APP}/*")
    set(client_files)
    foreach(f IN LISTS client_paths)
      if(NOT IS_SYMLINK "${f}")
        list(APPEND client_files "${f}")
      endif()
    endforeach()
    add_custom_command(
      OUTPUT "${res}/package/tarnwick.pkv" "${res}/INFO"
      COMMAND "${CMAKE_COMMAND}" -E make_directory "${res}"
      COMMAND korvane-pack --format ${KORVANE_PACKAGE_FORMAT} "${KORVANE_CLIENT_APP}" "${res}"
      DEPENDS korvane-pack ${client_files}
      COMMENT "Packing the client ${KORVANE_CLIENT_APP}"
      VERBATIM)
  else()
    # Repack when the build number changes, whatever the generator.
    set(version_stamp "${PROJECT_BINARY_DIR}/package-version.txt")
    set(version_text "${KORVANE_MAJOR_VERSION}.${KORVANE_MINOR_VERSION}.${KORVANE_BUILD_VERSION}\n")
    set(old_text "")
    if(EXISTS "${version_stamp}")
      file(READ "${version_stamp}" old_text)
    endif()
    if(NOT old_text STREQUAL version_text)
      file(WRITE "${version_stamp}" "${version_text}")
    endif()

    add_custom_command(
      OUTPUT "${res}/package/tarnwick.pkv" "${res}/INFO"
      COMMAND "${CMAKE_COMMAND}" -DPACK=$<TARGET_FILE:korvane-pack> -DFORMAT=${KORVANE_PACKAGE_FORMAT}
              -DUI=$<TARGET_FILE:korvane-ui> -DINFO_IN=${bundle_src}/INFO.in
              -DBUILD=${KORVANE_BUILD_VERSION} -DMAJOR=${KORVANE_MAJOR_VERSION}
              -DMINOR=${KORVANE_MINOR_VERSION} -DMIN_SYSTEM=${CMAKE_OSX_DEPLOYMENT_TARGET} -DSTAGE=${PROJECT_BINARY_DIR}/package-stage
              -DOUT=${res}/package/tarnwick.pkv -DINFO_OUT=${res}/INFO
              -P "${KORVANE_ROOT}/cmake/MakePackage.cmake"
      DEPENDS korvane-pack korvane-ui "${bundle_src}/INFO.in" "${bundle_src}/Info.plist.in" "${KORVANE_ROOT}/cmake/MakePackage.cmake" "${version_stamp}"
      COMMENT "Packing the demo client package (build ${KORVANE_BUILD_VERSION})"
      VERBATIM)
  endif()

  # The launcher's only plug-in path. On Linux the platform plug-ins are
  # copied there; on macOS macdeployqt deploys them (below).
  set(plugin_dir "${contents}/Frameworks/plugins/platforms")
  set(plugin_cmds)
  if(NOT APPLE)
    foreach(p Qt5::QXcbIntegrationPlugin Qt5::QOffscreenIntegrationPlugin)
      if(TARGET ${p})
        list(APPEND plugin_cmds COMMAND "${CMAKE_COMMAND}" -E copy_if_different $<TARGET_FILE:${p}> "${plugin_dir}/")
      endif()
    endforeach()
  endif()

  add_custom_target(korvane_bundle ALL
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${res}/images" "${res}/log" "${plugin_dir}"
    COMMAND "${CMAKE_COMMAND}" -E copy_if_different "${bundle_src}/ico_72_tarnwick.png" "${res}/images/"
    COMMAND "${CMAKE_COMMAND}" -E copy_if_different "${bundle_src}/launcher.debug" "${res}/log/"
    ${plugin_cmds}
    DEPENDS "${res}/package/tarnwick.pkv" "${res}/INFO" ${launcher}
    COMMENT "Assembling ${KORVANE_BUNDLE_DIR}"
    VERBATIM)

  if(APPLE)
    find_program(MACDEPLOYQT macdeployqt)
    if(MACDEPLOYQT)
      # macdeployqt puts plug-ins in Contents/PlugIns, with their Qt
      # references rewritten against the bundle, and writes a qt.conf that
      # points there; move them to the path start-up uses and point qt.conf
      # at it too.
      add_custom_command(TARGET korvane_bundle POST_BUILD
        COMMAND "${MACDEPLOYQT}" "${KORVANE_BUNDLE_DIR}"
        COMMAND "${CMAKE_COMMAND}" -E copy_directory "${contents}/PlugIns" "${contents}/Frameworks/plugins"
        COMMAND "${CMAKE_COMMAND}" -E remove_directory "${contents}/PlugIns"
        COMMAND "${CMAKE_COMMAND}" -E copy "${bundle_src}/qt.conf" "${res}/qt.conf"
        VERBATIM)
    else()
      message(WARNING "macdeployqt not found: the bundle gets no Qt plug-ins and will not start")
    endif()
  endif()
endfunction()
