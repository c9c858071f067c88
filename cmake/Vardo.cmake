# Project-wide helpers.

# Warnings as errors for our own code (not third-party).
function(vardo_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wno-missing-field-initializers)
  endif()
endfunction()

# A source folder holds pure files (compiled everywhere) and *_win.cpp files
# (Windows only). Creates <name>_core and, on Windows, <name>_win.
function(vardo_folder_libraries name)
  file(GLOB all CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(pure "")
  set(win "")
  foreach(f ${all})
    if(f MATCHES "_win\\.cpp$" OR f MATCHES "main_win\\.cpp$")
      list(APPEND win ${f})
    else()
      list(APPEND pure ${f})
    endif()
  endforeach()
  list(FILTER win EXCLUDE REGEX "main_win\\.cpp$")
  if(pure)
    add_library(${name}_core STATIC ${pure})
  else()
    add_library(${name}_core INTERFACE)
  endif()
  get_target_property(type ${name}_core TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${name}_core INTERFACE ${PROJECT_SOURCE_DIR}/src)
  else()
    target_include_directories(${name}_core PUBLIC ${PROJECT_SOURCE_DIR}/src)
    vardo_warnings(${name}_core)
  endif()
  if(WIN32 AND win)
    add_library(${name}_win STATIC ${win})
    target_link_libraries(${name}_win PUBLIC ${name}_core)
    vardo_warnings(${name}_win)
  endif()
endfunction()

# System DLLs that are not needed to bring the first windows up are
# delay-loaded: each is loaded on its first call, so start-up does not pay
# for mapping and initialising it (and its own imports). GDI+ is also
# delay-loaded so that, after SetDefaultDllDirectories, only the system copy
# can ever be loaded (never a gdiplus.dll planted beside the exe).
set(VARDO_DELAYED_DLLS gdiplus comctl32 comdlg32 ole32 oleaut32 shell32)

# Links `target` against the given system libraries (from VARDO_DELAYED_DLLS),
# delay-loaded.
function(vardo_link_delayed target)
  foreach(dll ${ARGN})
    if(MSVC)
      target_link_libraries(${target} PRIVATE ${dll} delayimp)
      target_link_options(${target} PRIVATE /DELAYLOAD:${dll}.dll)
    else()
      target_link_libraries(${target} PRIVATE ${dll}_delay)
    endif()
  endforeach()
endfunction()

function(vardo_link_gdiplus target)
  vardo_link_delayed(${target} gdiplus)
endfunction()

# MinGW: GNU ld has no /DELAYLOAD; dlltool makes a delay-import library from
# the export names of the normal import library.
if(WIN32 AND NOT MSVC)
  find_program(MINGW_NM NAMES x86_64-w64-mingw32-nm REQUIRED)
  find_program(MINGW_DLLTOOL NAMES x86_64-w64-mingw32-dlltool REQUIRED)
  foreach(dll ${VARDO_DELAYED_DLLS})
    if(TARGET ${dll}_delay)
      continue()
    endif()
    set(def ${CMAKE_BINARY_DIR}/${dll}.def)
    set(lib ${CMAKE_BINARY_DIR}/lib${dll}_delay.a)
    find_file(implib_${dll} lib${dll}.a PATHS /usr/x86_64-w64-mingw32/lib REQUIRED NO_DEFAULT_PATH)
    execute_process(COMMAND ${MINGW_NM} ${implib_${dll}} OUTPUT_VARIABLE syms)
    string(REGEX MATCHALL "I __imp_[A-Za-z0-9_]+" imps "${syms}")
    list(REMOVE_DUPLICATES imps)
    set(text "LIBRARY ${dll}.dll\nEXPORTS\n")
    foreach(i ${imps})
      string(REPLACE "I __imp_" "" n "${i}")
      string(APPEND text "${n}\n")
    endforeach()
    file(WRITE ${def} "${text}")
    execute_process(COMMAND ${MINGW_DLLTOOL} --input-def ${def} --output-delaylib ${lib} --dllname ${dll}.dll
                    RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "dlltool could not make the delay-load library for ${dll}")
    endif()
    add_library(${dll}_delay STATIC IMPORTED GLOBAL)
    set_target_properties(${dll}_delay PROPERTIES IMPORTED_LOCATION ${lib})
  endforeach()
endif()
