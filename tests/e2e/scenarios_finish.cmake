qz_robot_scenarios(finish
  finish_success
  finish_untick_all
  finish_close_box
  finish_escape
  finish_without_toolbar
  finish_after_failure
  finish_long_directory
  finish_reinstall)

# finish_planted_dlls: DLLs under these names lie beside Install.exe, and Wine
# takes them from the program's folder first, as Windows does with every DLL
# outside its known DLLs: comctl32, which the program uses, and DLLs that system
# DLLs commonly load on a program's behalf. The load order reaches Wine through
# the robot's own environment (wine-run adds QZ_WINE_DLL_OVERRIDES to its base
# overrides): put only into the environment that the robot starts Install.exe
# with, it changes nothing. version, uxtheme and msimg32 are left out: with
# native DLLs first, Wine's own DLLs take those three from the program's folder
# as their imports, however the program restricts its search.
set(planted_dlls comctl32 dwmapi propsys cryptbase profapi userenv sspicli wtsapi32 oleacc
    riched20 windowscodecs)
list(JOIN planted_dlls "," planted_list)
qz_robot_scenarios(finish finish_planted_dlls)
set_property(TEST e2e.finish.finish_planted_dlls APPEND PROPERTY ENVIRONMENT
             "QZ_PLANTED_DLLS=${planted_list}" "QZ_WINE_DLL_OVERRIDES=${planted_list}=n,b")
