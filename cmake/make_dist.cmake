# Puts what a user copies to Windows into DIST/HXT_GMouse (the exe, the shipped data as
# delivered and the skins) and zips that folder into DIST/HXT_GMouse.zip. The folder is made
# afresh, so nothing a test or a run of the build tree saved ends up in it.
# Usage: cmake -DEXE=... -DDATA=... -DSKINS=... -DDIST=... -P make_dist.cmake
set(folder ${DIST}/HXT_GMouse)
file(REMOVE_RECURSE ${folder} ${DIST}/HXT_GMouse.zip)
file(MAKE_DIRECTORY ${folder})
file(COPY ${EXE} DESTINATION ${folder})
file(COPY ${DATA}/ DESTINATION ${folder})
file(COPY ${SKINS} DESTINATION ${folder})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf HXT_GMouse.zip --format=zip HXT_GMouse
  WORKING_DIRECTORY ${DIST} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot zip ${folder}")
endif()
