# The folders of src/ name their platform-bound files by a suffix:
#   *_win32.cpp  Win32 only (with or without a portable twin)
#   *_dlg.cpp    a dialog: Win32 only
#   *_posix.cpp  POSIX only
# Every other .cpp is portable and builds everywhere.
#
# qz_sources(OUT dir) - the .cpp files of dir that belong in this build.
function(qz_sources out dir)
  file(GLOB all CONFIGURE_DEPENDS ${dir}/*.cpp)
  set(result)
  foreach(f IN LISTS all)
    get_filename_component(name ${f} NAME_WE)
    if(name MATCHES "_win32$" OR name MATCHES "_dlg$")
      if(WIN32)
        list(APPEND result ${f})
      endif()
    elseif(name MATCHES "_posix$")
      if(NOT WIN32)
        list(APPEND result ${f})
      endif()
    else()
      list(APPEND result ${f})
    endif()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()
