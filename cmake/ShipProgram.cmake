# The shipped programs carry no C or C++ runtime, so that they start on every processor
# and Windows they are meant for (the runtime that MinGW links is built for the Pentium Pro
# and needs MSVCRT.DLL): all their code is built here for the i486, they start at their
# own entry point and take memory from the Win32 heap (runtime/), and they import from
# system DLLs only. The test programs keep the runtime and test the same sources.
if(SWK_BUILD STREQUAL "ship")
  # libgcc only for the helpers GCC calls by itself (the stack probe of large frames),
  # after every library; the release check disassembles what it brings.
  string(APPEND CMAKE_CXX_STANDARD_LIBRARIES " -lgcc")
  add_compile_options(-march=i486 -fno-asynchronous-unwind-tables -ffunction-sections
    $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions> $<$<COMPILE_LANGUAGE:CXX>:-fno-rtti>
    $<$<COMPILE_LANGUAGE:CXX>:-fno-threadsafe-statics> $<$<COMPILE_LANGUAGE:CXX>:-fcheck-new>)
endif()

# swk_ship_program(TARGET): in the ship tree, links TARGET without the runtime.
function(swk_ship_program target)
  if(SWK_BUILD STREQUAL "ship")
    target_link_libraries(${target} PRIVATE shipruntime)
    target_link_options(${target} PRIVATE -nostdlib -nostartfiles -Wl,-e,_WinMainCRTStartup -Wl,--gc-sections)
  endif()
endfunction()
