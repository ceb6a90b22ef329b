# What tools/test checks of the device: the application's own object files, listed for
# tools/check-ce-api, and, in a 32-bit build, the device's record sizes.

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(symbol_prefix "_")   # a 32-bit target's C names begin with an underscore
endif()
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/app-objects.txt CONTENT
"target ${CMAKE_SYSTEM_PROCESSOR}
nm ${CMAKE_NM}
symbol-prefix ${symbol_prefix}
object $<JOIN:$<TARGET_OBJECTS:velmora_app>;$<TARGET_OBJECTS:velmora>,
object >
")

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # No warning at all in this build: the linker's (a 32-bit name that does not match) too.
    if(VELMORA_WERROR)
        add_link_options(-Wl,--fatal-warnings)
    endif()
endif()
