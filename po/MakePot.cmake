# Extracts the messages of every source into OUTPUT and refreshes SOURCE_POT when they changed.
# The creation date is left out so that an unchanged message set gives an unchanged file.
file(GLOB_RECURSE _sources RELATIVE ${ROOT} ${ROOT}/src/*.cpp ${ROOT}/src/*.h)
list(SORT _sources)
execute_process(
  COMMAND ${XGETTEXT} --from-code=UTF-8 --language=C++ -k --keyword=_ --keyword=_n:1,2 --no-location
          --sort-output --package-name=Corvantel "--msgid-bugs-address=Corvantel developers"
          -o ${OUTPUT}.tmp ${_sources}
  WORKING_DIRECTORY ${ROOT}
  RESULT_VARIABLE _rc)
if(NOT _rc EQUAL 0)
  message(FATAL_ERROR "xgettext failed")
endif()
file(READ ${OUTPUT}.tmp _pot)
string(REGEX REPLACE "\"POT-Creation-Date:[^\n]*\n" "" _pot "${_pot}")
file(WRITE ${OUTPUT} "${_pot}")
file(REMOVE ${OUTPUT}.tmp)
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${OUTPUT} ${SOURCE_POT})
