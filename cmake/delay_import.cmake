# Delay-loaded system libraries. A DLL in an exe's import table is loaded and initialised before
# the program's first line; under Wine, setupapi, hid, shell32, winmm and ws2_32 cost about
# 20 ms of every start, and the first paint needs none of them. A delay-load import library makes the first call of each function load its DLL.
# hxt_delay_import_library(VAR lib DLL) builds one from the import library of lib and sets VAR
# to its path; it exports every function of the import library, so any call works.
function(hxt_delay_import_library out_var lib dll)
  find_library(import_library_${lib} NAMES lib${lib}.a ${lib} REQUIRED)
  set(dir ${CMAKE_BINARY_DIR}/delay-import)
  set(archive ${dir}/lib${lib}_delay.a)
  if(NOT EXISTS ${archive} OR ${import_library_${lib}} IS_NEWER_THAN ${archive})
    file(MAKE_DIRECTORY ${dir})
    execute_process(COMMAND ${CMAKE_NM} -g --defined-only ${import_library_${lib}}
                    OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
    # The import thunks are the I symbols named __imp_ followed by the function's name.
    string(REGEX MATCHALL " I __imp_[^\r\n]+" imports "${symbols}")
    list(REMOVE_DUPLICATES imports)
    set(def "LIBRARY ${dll}\nEXPORTS\n")
    foreach(import IN LISTS imports)
      string(REPLACE " I __imp_" "" name "${import}")
      string(APPEND def "  ${name}\n")
    endforeach()
    file(WRITE ${dir}/${lib}.def "${def}")
    execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${dir}/${lib}.def --output-delaylib ${archive}
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()
  set(${out_var} ${archive} PARENT_SCOPE)
endfunction()
