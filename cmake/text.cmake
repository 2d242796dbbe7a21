# Sources are UTF-8; every narrow string literal reaches the program as GBK
# (code page 936), in every build, so that the screen, the disk, install.log
# and the registry see the same bytes.
#
# gcc converts literals itself. clang only knows UTF-8, so for clang each
# source that holds non-ASCII text is rewritten at build time with every
# non-ASCII character of its literals turned into octal escapes of its GBK
# bytes (see gbk_escape.py); list such sources with qz_text_sources().
find_package(Python3 COMPONENTS Interpreter REQUIRED)

if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options($<$<COMPILE_LANGUAGE:CXX,C>:-finput-charset=UTF-8>
                      $<$<COMPILE_LANGUAGE:CXX,C>:-fexec-charset=GBK>)
elseif(MSVC)
  add_compile_options($<$<COMPILE_LANGUAGE:CXX,C>:/source-charset:utf-8>
                      $<$<COMPILE_LANGUAGE:CXX,C>:/execution-charset:.936>)
endif()

# qz_text_sources(OUT_VAR src...) - the sources to compile for the given
# UTF-8 sources: themselves under gcc, GBK-escaped copies under clang.
function(qz_text_sources out)
  set(result)
  foreach(src IN LISTS ARGN)
    get_filename_component(abs ${src} ABSOLUTE)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" OR MSVC)
      list(APPEND result ${abs})
    else()
      file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${abs})
      set(gen ${CMAKE_BINARY_DIR}/gbk/${rel})
      add_custom_command(
        OUTPUT ${gen}
        COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/gbk_escape.py ${abs} ${gen}
        DEPENDS ${abs} ${PROJECT_SOURCE_DIR}/cmake/gbk_escape.py
        COMMENT "GBK literals for ${rel}")
      list(APPEND result ${gen})
    endif()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()
