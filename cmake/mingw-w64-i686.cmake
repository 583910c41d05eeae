# Cross build for 32-bit Windows with Debian's MinGW-w64 compilers
# (g++-mingw-w64-i686-posix: DWARF-2 exceptions, so no exception may cross a
# system callback; -static keeps libgcc_s_dw2-1.dll out). The programs run on
# 32-bit Windows and, under WoW64, on 64-bit Windows; Wine runs them with its
# 32-bit loader (wine32:i386).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(tallowbrook_mingw_triplet i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
