# The skin (description files of both languages, the pictures, the default macro files) is
# generated from the drawings and tables in tools/skin into skins/ beside the exe.
find_program(HXT_PYTHON python3 REQUIRED)
find_program(HXT_CONVERT convert REQUIRED)
file(GLOB HXT_SKIN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/skin/*.py)
set(HXT_SKIN_DIR ${CMAKE_BINARY_DIR}/skins)
set(HXT_SKIN_STAMP ${CMAKE_BINARY_DIR}/skins.stamp)
set(HXT_SKIN_DEPENDS ${HXT_SKIN_SOURCES} ${CMAKE_SOURCE_DIR}/tools/make_skin.sh)
foreach(macros Macro_EN.dat Macro_CN.dat)
  if(EXISTS ${CMAKE_SOURCE_DIR}/data/${macros})
    list(APPEND HXT_SKIN_DEPENDS ${CMAKE_SOURCE_DIR}/data/${macros})
  endif()
endforeach()

add_custom_command(OUTPUT ${HXT_SKIN_STAMP}
  COMMAND bash ${CMAKE_SOURCE_DIR}/tools/make_skin.sh ${HXT_SKIN_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${HXT_SKIN_STAMP}
  DEPENDS ${HXT_SKIN_DEPENDS}
  COMMENT "Drawing the skin")
add_custom_target(hxt_skin ALL DEPENDS ${HXT_SKIN_STAMP})
