# Included by src/win32/CMakeLists.txt after the kestrane target: builds the icon the resource
# script names and tells windres where to find it, the manifest and the version numbers.
find_program(IMAGEMAGICK_CONVERT convert REQUIRED)

set(icon_source ${CMAKE_CURRENT_SOURCE_DIR}/res/kestrane_icon.mvg)
set(icon_dir ${CMAKE_CURRENT_BINARY_DIR}/res)
set(icon ${icon_dir}/kestrane.ico)
# Drawn large and scaled down: 256 for Explorer's big views, 48 for the window and the About box,
# 32 and 16 for the task bar, title bar and lists.
add_custom_command(
  OUTPUT ${icon}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${icon_dir}
  COMMAND ${IMAGEMAGICK_CONVERT} -background none -size 256x256 mvg:${icon_source} -depth 8
          -define icon:auto-resize=256,48,32,16 ${icon}
  DEPENDS ${icon_source}
  COMMENT "Drawing the application icon"
  VERBATIM)

set_property(SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/res/kestrane.rc APPEND PROPERTY OBJECT_DEPENDS
  ${icon} ${CMAKE_CURRENT_SOURCE_DIR}/res/kestrane.manifest
  ${CMAKE_CURRENT_SOURCE_DIR}/res/resource.h ${CMAKE_SOURCE_DIR}/src/info/version.h)
target_include_directories(kestrane PRIVATE ${icon_dir} ${CMAKE_CURRENT_SOURCE_DIR}/res)
