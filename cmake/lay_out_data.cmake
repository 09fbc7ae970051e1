# Lays the shipped data out beside the exe. Files the program writes (config.ini, the macro
# files) are copied only when absent, so a rebuild never throws away what the user saved.
file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*)
foreach(f ${files})
  if(f MATCHES "^(config\\.ini|Macro_(EN|CN)\\.dat)$" AND EXISTS ${DST}/${f})
    continue()
  endif()
  get_filename_component(dir ${DST}/${f} DIRECTORY)
  file(MAKE_DIRECTORY ${dir})
  file(COPY_FILE ${SRC}/${f} ${DST}/${f} ONLY_IF_DIFFERENT)
endforeach()
