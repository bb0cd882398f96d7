# The shipped program carries no runtime library: Debian's MinGW-w64 runtime (CRT start-up,
# libstdc++, libsupc++, libgcc_eh, libmingwex) is built for the Pentium Pro, and its CMOV and
# FCOMI die on a Pentium, K6 or VIA C3, which Windows XP runs on. These settings stay on the
# product's own targets: tests, stand-in and tools keep the normal runtime.

# Code for the original Pentium, with nothing that needs the C++ runtime.
function(ferrule_freestanding_code target)
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:C,CXX>:-march=i586 -Wa,-march=i586 -fno-asynchronous-unwind-tables>
    $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti -fno-threadsafe-statics>)
endfunction()

# A program with the freestanding start-up as its entry; it links the system DLLs' import
# libraries and libgcc alone (its stack probe and 64-bit division, both Pentium code).
function(ferrule_freestanding_program target)
  ferrule_freestanding_code(${target})
  target_sources(${target} PRIVATE $<TARGET_OBJECTS:ferrule_freestanding>)
  # A wrong entry name is only a warning to ld, and the program would then start at .text.
  target_link_options(${target} PRIVATE -nostartfiles -nostdlib -Wl,-e,_FreestandingEntry
                      -Wl,--fatal-warnings)
  target_link_libraries(${target} PRIVATE kernel32 gcc)
endfunction()
