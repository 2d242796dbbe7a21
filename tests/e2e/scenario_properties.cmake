# What some robot scenarios need besides the robot's environment, and the one
# scenario run a second time with another Install.exe; every other scenario
# runs once, with the defaults the robot's CMakeLists.txt gives.

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
set_property(TEST e2e.finish.finish_planted_dlls APPEND PROPERTY ENVIRONMENT
             "QZ_PLANTED_DLLS=${planted_list}" "QZ_WINE_DLL_OVERRIDES=${planted_list}=n,b")

# Under the Western code page 1252: the run's locale is fr_FR.UTF-8.
set_property(TEST e2e.install.install_western_code_page APPEND PROPERTY ENVIRONMENT
  QZ_WINE_LOCALE=fr_FR)
# Drive Q: is a 1 MiB tmpfs that scripts/wine-run mounts for this run only.
set_property(TEST e2e.install.install_disk_full APPEND PROPERTY ENVIRONMENT "QZ_WINE_TMPFS=q:1m")

# The whole installation again, with the Install.exe that scripts/release
# signed, of this build's architecture: tests/release/release_test.sh leaves
# the 32-bit one in build/release-check, and in the 64-bit fallback the x86_64
# one in build/release-check-win64; scripts/test runs it before this layer.
# Missing, the test is not run, which ctest counts as a failure.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(signed_install_exe ${PROJECT_SOURCE_DIR}/build/release-check-win64/Install.exe)
else()
  set(signed_install_exe ${PROJECT_SOURCE_DIR}/build/release-check/Install.exe)
endif()
set(signed_env ${robot_env})
list(FILTER signed_env EXCLUDE REGEX "^QZ_(INSTALL_EXE|SCREENSHOT_DIR)=")
list(APPEND signed_env "QZ_INSTALL_EXE=${signed_install_exe}"
     "QZ_SCREENSHOT_DIR=${QZ_SCREENSHOT_DIR}/signed")
add_test(NAME e2e.release.install_full_signed COMMAND robot install_full)
set_tests_properties(e2e.release.install_full_signed PROPERTIES
  ENVIRONMENT "${signed_env}" REQUIRED_FILES ${signed_install_exe} TIMEOUT 240 LABELS e2e)
