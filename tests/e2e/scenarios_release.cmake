# The whole installation again, with the Install.exe that scripts/release
# signed (tests/release/release_test.sh leaves it in build/release-check,
# which scripts/test runs before this layer). Missing, the test is not run,
# which ctest counts as a failure.
set(QZ_SIGNED_INSTALL_EXE ${PROJECT_SOURCE_DIR}/build/release-check/Install.exe
    CACHE FILEPATH "the signed Install.exe that e2e.release.install_full_signed installs with")
set(signed_env ${robot_env})
list(FILTER signed_env EXCLUDE REGEX "^QZ_(INSTALL_EXE|SCREENSHOT_DIR)=")
list(APPEND signed_env "QZ_INSTALL_EXE=${QZ_SIGNED_INSTALL_EXE}"
     "QZ_SCREENSHOT_DIR=${QZ_SCREENSHOT_DIR}/signed")
add_test(NAME e2e.release.install_full_signed COMMAND robot install_full)
set_tests_properties(e2e.release.install_full_signed PROPERTIES
  ENVIRONMENT "${signed_env}" REQUIRED_FILES ${QZ_SIGNED_INSTALL_EXE} TIMEOUT 240 LABELS e2e)
