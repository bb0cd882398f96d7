# Cross toolchain for a 32-bit Windows XP executable.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_SYSTEM_VERSION 5.1)

# The -win32 compilers use Windows threads: the posix ones pull in winpthreads,
# which imports functions Windows XP does not have.
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

add_compile_definitions(_WIN32_WINNT=0x0501 WINVER=0x0501 UNICODE _UNICODE)
add_link_options(-static -static-libgcc -static-libstdc++
  -Wl,--subsystem,windows:5.01 -Wl,--major-os-version,5 -Wl,--minor-os-version,1
  -Wl,--nxcompat -Wl,--dynamicbase)

# The same sources give the same bytes wherever and whenever they are built: no link time in
# the PE header (ld then also writes the same checksum), and no checkout path in anything the
# compiler embeds (__FILE__, assertions). windres stamps its resources with 0 already.
add_link_options(-Wl,--no-insert-timestamp)
get_filename_component(FERRULE_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${FERRULE_SOURCE_ROOT}/=>)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)

# Small over fast: the program spends its time waiting on System Restore, not computing.
set(CMAKE_C_FLAGS_RELEASE "-Os -DNDEBUG -ffunction-sections -fdata-sections" CACHE STRING "" FORCE)
set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG -ffunction-sections -fdata-sections" CACHE STRING "" FORCE)
add_link_options($<$<CONFIG:Release>:-Wl,--gc-sections>)
