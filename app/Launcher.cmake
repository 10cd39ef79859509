# The launcher executable and its bundle. Included by the top-level
# CMakeLists after every layer, so all layer libraries exist here.

# Start-up pieces, the launcher/worker and the dialog, shared by the
# executable and the tests.
add_library(korvane_launcher_core STATIC
  ${KORVANE_ROOT}/app/launcher.cpp ${KORVANE_ROOT}/app/launcher.h
  ${KORVANE_ROOT}/app/ProcessingProgressDialog.cpp ${KORVANE_ROOT}/app/ProcessingProgressDialog.h
  ${KORVANE_ROOT}/app/Startup.cpp ${KORVANE_ROOT}/app/Startup.h)
set_target_properties(korvane_launcher_core PROPERTIES AUTOMOC ON)
target_include_directories(korvane_launcher_core PUBLIC ${KORVANE_ROOT})
target_link_libraries(korvane_launcher_core PUBLIC
  korvane_service korvane_extract korvane_uitexts korvane_deskui korvane_fs korvane_log korvane_utils
  Qt5::Widgets)

add_executable(korvane-launcher ${KORVANE_ROOT}/app/main.cpp)
set_target_properties(korvane-launcher PROPERTIES AUTOMOC ON)
target_link_libraries(korvane-launcher PRIVATE korvane_launcher_core)

korvane_assemble_bundle(korvane-launcher)
