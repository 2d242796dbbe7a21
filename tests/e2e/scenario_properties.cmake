# What some robot scenarios need besides the robot's environment: a locale, a
# small disk, a DLL load order, the signed release, the pinned program; every
# other scenario runs with the defaults the robot's CMakeLists.txt gives.

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
set_property(TEST e2e.unattended.unattended_apps_entry_western APPEND PROPERTY ENVIRONMENT
  QZ_WINE_LOCALE=fr_FR)
# Drive Q: is a 1 MiB tmpfs that scripts/wine-run mounts for this run only.
set_property(TEST e2e.install.install_disk_full APPEND PROPERTY ENVIRONMENT "QZ_WINE_TMPFS=q:1m")

# install_signed_release runs the release that scripts/release signed, of
# this build's architecture: tests/release/release_test.sh leaves the 32-bit
# one in build/release-check, and in the 64-bit fallback the x86_64 one in
# build/release-check-win64; scripts/test runs it before this layer. Its
# Install.exe installs its own data.dat, then meets packages that are not that
# one. Missing, the test is not run, which ctest counts as a failure.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(signed_dir ${PROJECT_SOURCE_DIR}/build/release-check-win64)
else()
  set(signed_dir ${PROJECT_SOURCE_DIR}/build/release-check)
endif()
set_property(TEST e2e.install.install_signed_release APPEND PROPERTY ENVIRONMENT
             "QZ_SIGNED_INSTALL_EXE=${signed_dir}/Install.exe" "QZ_SIGNED_PACKAGE=${signed_dir}/data.dat")
set_tests_properties(e2e.install.install_signed_release PROPERTIES REQUIRED_FILES
                     "${signed_dir}/Install.exe;${signed_dir}/data.dat")

# Every scenario whose name holds "pinned" runs a pinned Install.exe as well:
# the same sources built in a tree of their own (build/<preset>/pinned/build)
# with QZ_PINNED_PACKAGE naming the demo package. Two set-up tests make it
# before them: qzpack.exe packs the demo payload (the package the robot's own
# PackFolder makes of it), then a second build tree, configured like this one,
# builds the pinned program. Their Wine processes preload the changing-source
# shim, which changes only a file with its marker beside it.
set(pinned_dir ${CMAKE_BINARY_DIR}/pinned)
file(MAKE_DIRECTORY ${pinned_dir})
string(REPLACE "/" "\\" pinned_dir_windows "Z:${pinned_dir}")
string(REPLACE "/" "\\" demo_payload_windows "Z:${QZ_DEMO_PAYLOAD_DIR}")
add_test(NAME e2e.pinned.setup_package
         COMMAND qzpack create ${demo_payload_windows} -o ${pinned_dir_windows}\\data.dat)
set_tests_properties(e2e.pinned.setup_package PROPERTIES FIXTURES_SETUP pinned_package
                     TIMEOUT 120)
add_test(NAME e2e.pinned.setup_build
         COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR} -DBINARY=${pinned_dir}/build
                 -DGENERATOR=${CMAKE_GENERATOR} -DTOOLCHAIN=${CMAKE_TOOLCHAIN_FILE}
                 -DBUILD_TYPE=${CMAKE_BUILD_TYPE} -DPACKAGE=${pinned_dir}/data.dat
                 -P ${CMAKE_CURRENT_SOURCE_DIR}/pinned_build.cmake)
set_tests_properties(e2e.pinned.setup_build PROPERTIES FIXTURES_REQUIRED pinned_package
                     FIXTURES_SETUP pinned_program TIMEOUT 900)
foreach(name IN LISTS robot_scenarios)
  if(name MATCHES "pinned")
    string(REGEX REPLACE "_.*" "" area ${name})
    set_property(TEST e2e.${area}.${name} APPEND PROPERTY ENVIRONMENT
                 "QZ_PINNED_INSTALL_EXE=${pinned_dir}/build/src/app/Install.exe"
                 "QZ_PINNED_PACKAGE=${pinned_dir}/data.dat"
                 "QZ_WINE_PRELOAD=${shim}")
    set_tests_properties(e2e.${area}.${name} PROPERTIES FIXTURES_REQUIRED
                         "pinned_package;pinned_program")
  endif()
endforeach()
