# Time limits of the tests that run Wine. Under qemu-user's i386 emulation a wait may last longer
# by the factor scripts/lib/i386.sh defines. ctest asks for it each time it reads the tests, so
# the limits follow the machine as it is then, for `ctest -R` too.

# Sets TIMEOUT of the TESTs to SECONDS natively, SECONDS times the factor under emulation.
function(ferrule_wine_timeout seconds)
  set_tests_properties(${ARGN} PROPERTIES TIMEOUT ${seconds})
  foreach(test ${ARGN})
    set_property(GLOBAL APPEND PROPERTY FERRULE_WINE_TIMEOUTS "${test}=${seconds}")
  endforeach()
endfunction()

# From the directory ctest reads last, so that every test above exists when it runs: writes the
# script that scales the limits and has ctest run it.
function(ferrule_scale_wine_timeouts)
  get_property(timeouts GLOBAL PROPERTY FERRULE_WINE_TIMEOUTS)
  set(script ${CMAKE_CURRENT_BINARY_DIR}/scaled-timeouts.cmake)
  set(text "execute_process(COMMAND bash -c [=[source \"$0\" && i386_env && echo \"\${FERRULE_WAIT_FACTOR:-1}\"]=]\n")
  string(APPEND text "  ${PROJECT_SOURCE_DIR}/scripts/lib/i386.sh\n")
  string(APPEND text "  OUTPUT_VARIABLE factor OUTPUT_STRIP_TRAILING_WHITESPACE)\n")
  string(APPEND text "if(NOT factor MATCHES \"^[1-9][0-9]*$\")\n  set(factor 1)\nendif()\n")
  foreach(entry ${timeouts})
    string(REPLACE "=" ";" pair "${entry}")
    list(GET pair 0 test)
    list(GET pair 1 seconds)
    string(APPEND text "math(EXPR limit \"${seconds} * \${factor}\")\n")
    string(APPEND text "set_tests_properties([=[${test}]=] PROPERTIES TIMEOUT \${limit})\n")
  endforeach()
  file(WRITE ${script} "${text}")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()
