# Assembles "Korvane Client.app" around the launcher executable:
#   Contents/MacOS/korvane-launcher             (on macOS: "Korvane Client")
#   Contents/Resources/{INFO, package/tarnwick.pkv, images/ico_72_tarnwick.png, log/launcher.debug}
#   Contents/Frameworks/plugins/platforms/...   (the launcher's only plug-in path)
set(KORVANE_BUNDLE_DIR "${PROJECT_BINARY_DIR}/Korvane Client.app" CACHE INTERNAL "")
set(KORVANE_MAJOR_VERSION 1 CACHE STRING "major_version of the demo package")
set(KORVANE_MINOR_VERSION 0 CACHE STRING "minor_version of the demo package")

function(korvane_assemble_bundle launcher)
  set(contents "${KORVANE_BUNDLE_DIR}/Contents")
  set(res "${contents}/Resources")
  set(bundle_src "${KORVANE_ROOT}/app/bundle")

  if(APPLE)
    # A real .app: the bundle takes the executable's name, so the executable
    # is "Korvane Client" there (start-up only relies on Contents/MacOS).
    set_target_properties(${launcher} PROPERTIES
      MACOSX_BUNDLE ON
      OUTPUT_NAME "Korvane Client"
      MACOSX_BUNDLE_BUNDLE_NAME "Korvane Client"
      MACOSX_BUNDLE_GUI_IDENTIFIER "com.korvane.client.launcher"
      MACOSX_BUNDLE_SHORT_VERSION_STRING "${KORVANE_MAJOR_VERSION}.${KORVANE_MINOR_VERSION}"
      MACOSX_BUNDLE_BUNDLE_VERSION "${KORVANE_BUILD_VERSION}"
      RUNTIME_OUTPUT_DIRECTORY "${PROJECT_BINARY_DIR}")
  else()
    set_target_properties(${launcher} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${contents}/MacOS")
  endif()

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
    COMMAND "${CMAKE_COMMAND}" -DUI=$<TARGET_FILE:korvane-ui> -DINFO_IN=${bundle_src}/INFO.in
            -DBUILD=${KORVANE_BUILD_VERSION} -DMAJOR=${KORVANE_MAJOR_VERSION}
            -DMINOR=${KORVANE_MINOR_VERSION} -DSTAGE=${PROJECT_BINARY_DIR}/package-stage
            -DOUT=${res}/package/tarnwick.pkv -DINFO_OUT=${res}/INFO
            -P "${KORVANE_ROOT}/cmake/MakePackage.cmake"
    DEPENDS korvane-ui "${bundle_src}/INFO.in" "${KORVANE_ROOT}/cmake/MakePackage.cmake" "${version_stamp}"
    COMMENT "Packing the demo client package (build ${KORVANE_BUILD_VERSION})"
    VERBATIM)

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
      # references rewritten against the bundle; move them to the path
      # start-up uses.
      add_custom_command(TARGET korvane_bundle POST_BUILD
        COMMAND "${MACDEPLOYQT}" "${KORVANE_BUNDLE_DIR}"
        COMMAND "${CMAKE_COMMAND}" -E copy_directory "${contents}/PlugIns" "${contents}/Frameworks/plugins"
        COMMAND "${CMAKE_COMMAND}" -E remove_directory "${contents}/PlugIns"
        VERBATIM)
    else()
      message(WARNING "macdeployqt not found: the bundle gets no Qt plug-ins and will not start")
    endif()
  endif()
endfunction()
