# Settings for every Windows target: Unicode Win32, static runtime (nothing to install), and
# the exploit mitigations of the PE header.
add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601
                        WINVER=0x0601 STRICT)
add_link_options(-static -static-libgcc -static-libstdc++
                 -Wl,--dynamicbase -Wl,--nxcompat -Wl,--tsaware)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_link_options(-Wl,--high-entropy-va)
endif()

# Stack canaries in every function with an array or an address taken, and string functions
# checked against the sizes the compiler knows (mingw-w64's headers do that from -O1 up, so the
# release builds have it). -fstack-protector-strong on the link line brings in libssp, linked
# statically like the rest (no libssp-0.dll to ship or to plant), for the fortified functions;
# the program defines the canary itself (src/win32/include/win32/stack_guard.h says why).
add_compile_options(-fstack-protector-strong)
add_compile_definitions(_FORTIFY_SOURCE=2)
add_link_options(-fstack-protector-strong)
