# Fails when EXE imports a DLL beyond those every window loads anyway. Each import is loaded and
# initialised before the program's first line; other system libraries are delay-loaded
# (cmake/delay_import.cmake) or loaded by the code that needs them.
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "DLL Name: [^\r\n]+" names "${dump}")
if(NOT names)
  message(FATAL_ERROR "no import table found in ${EXE}")
endif()
foreach(name IN LISTS names)
  string(REPLACE "DLL Name: " "" dll "${name}")
  string(TOUPPER "${dll}" dll)
  if(NOT dll MATCHES "^(KERNEL32|USER32|GDI32|MSVCRT)\\.DLL$")
    message(FATAL_ERROR "${EXE} imports ${dll} at start-up; delay-load it instead")
  endif()
endforeach()
