# The folders of src/ name their platform-bound files by a suffix:
#   *_win32.cpp  Win32 only (with or without a portable twin)
#   *_dlg.cpp    a dialog: Win32 only
#   *_posix.cpp  POSIX only
# Every other .cpp is portable and builds everywhere.
#
# qz_sources(OUT dir [PORTABLE|WIN32|POSIX]) - the .cpp files of dir (one folder,
# never another's): with a kind, the files of that kind; without one, the
# portable files and those of the platform being built for.
function(qz_sources out dir)
  set(kinds ${ARGN})
  if(NOT kinds)
    if(WIN32)
      set(kinds PORTABLE WIN32)
    else()
      set(kinds PORTABLE POSIX)
    endif()
  endif()
  file(GLOB all CONFIGURE_DEPENDS ${dir}/*.cpp)
  set(result)
  foreach(f IN LISTS all)
    get_filename_component(name ${f} NAME_WE)
    if(name MATCHES "_win32$" OR name MATCHES "_dlg$")
      set(kind WIN32)
    elseif(name MATCHES "_posix$")
      set(kind POSIX)
    else()
      set(kind PORTABLE)
    endif()
    if(kind IN_LIST kinds)
      list(APPEND result ${f})
    endif()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()
