# Warning flags shared by every target of the project, as an interface library.
add_library(tallowbrook_warnings INTERFACE)
if(MSVC)
  target_compile_options(tallowbrook_warnings INTERFACE /W4 $<$<BOOL:${TALLOWBROOK_WERROR}>:/WX>)
else()
  target_compile_options(tallowbrook_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wold-style-cast
    -Wnon-virtual-dtor -Woverloaded-virtual -Wcast-align -Wdouble-promotion
    -Wimplicit-fallthrough -Wformat=2
    $<$<BOOL:${TALLOWBROOK_WERROR}>:-Werror>)
endif()
