# Lays out what a real client bundle carries besides its executable, from the
# Qt and ICU this machine builds with: every Qt module as a framework (its
# library and headers, macOS framework layout) under Contents/Frameworks, the
# Qt plug-ins under Contents/PlugIns and the ICU libraries under
# Contents/Frameworks/ICU. The demo's second package carries it, so that its
# upgrade moves a client of a real client's size (about 100 MB in a few
# thousand files) and the progress dialog can be seen at work.
#   cmake -DOUT=<dir> -DQT_HEADERS=<qt5 include folder> -DQT_LIBDIR=<folder of libQt5*.so.5>
#         -DQT_PLUGINS=<plug-in folder> -DICU_LIBS=<libraries> -P DemoFrameworks.cmake
foreach(var OUT QT_HEADERS QT_LIBDIR QT_PLUGINS ICU_LIBS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "DemoFrameworks: ${var} is required")
  endif()
endforeach()

file(REMOVE_RECURSE "${OUT}")
set(c "${OUT}/Contents")
file(GLOB modules LIST_DIRECTORIES true RELATIVE "${QT_HEADERS}" "${QT_HEADERS}/Qt*")
set(count 0)
foreach(name IN LISTS modules)
  string(REGEX REPLACE "^Qt" "" short "${name}")
  set(library "${QT_LIBDIR}/libQt5${short}.so.5")
  if(NOT IS_DIRECTORY "${QT_HEADERS}/${name}" OR NOT EXISTS "${library}")
    continue()
  endif()
  set(fw "${c}/Frameworks/${name}.framework")
  file(MAKE_DIRECTORY "${fw}/Versions/5")
  # The library itself, not the link that names it.
  file(REAL_PATH "${library}" real)
  file(COPY_FILE "${real}" "${fw}/Versions/5/${name}")
  file(COPY "${QT_HEADERS}/${name}/" DESTINATION "${fw}/Versions/5/Headers")
  file(CREATE_LINK "5" "${fw}/Versions/Current" SYMBOLIC)
  file(CREATE_LINK "Versions/Current/${name}" "${fw}/${name}" SYMBOLIC)
  file(CREATE_LINK "Versions/Current/Headers" "${fw}/Headers" SYMBOLIC)
  math(EXPR count "${count} + 1")
endforeach()
if(count LESS 3)
  message(FATAL_ERROR "DemoFrameworks: only ${count} Qt modules found in ${QT_HEADERS} and ${QT_LIBDIR}")
endif()
file(COPY "${QT_PLUGINS}/" DESTINATION "${c}/PlugIns")
file(MAKE_DIRECTORY "${c}/Frameworks/ICU")
foreach(library IN LISTS ICU_LIBS)
  file(REAL_PATH "${library}" real)
  get_filename_component(base "${real}" NAME)
  file(COPY_FILE "${real}" "${c}/Frameworks/ICU/${base}")
endforeach()
