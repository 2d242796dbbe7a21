# Builds the pinned Install.exe that the robot's pinned scenarios run: the same
# sources, in a build tree of their own, configured like the tree that runs the
# tests (its generator, toolchain and build type) and pinned to PACKAGE.
#
#   cmake -DSOURCE=repo -DBINARY=tree -DGENERATOR=Ninja -DTOOLCHAIN=file
#         -DBUILD_TYPE=Release -DPACKAGE=data.dat -P pinned_build.cmake
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${BINARY} -G ${GENERATOR} --toolchain ${TOOLCHAIN}
          -DCMAKE_BUILD_TYPE=${BUILD_TYPE} -DQZ_BUILD_TESTS=OFF -DQZ_PINNED_PACKAGE=${PACKAGE}
  RESULT_VARIABLE configured)
if(NOT configured EQUAL 0)
  message(FATAL_ERROR "configuring the pinned build in ${BINARY} failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY} --target Install RESULT_VARIABLE built)
if(NOT built EQUAL 0)
  message(FATAL_ERROR "building the pinned Install.exe in ${BINARY} failed")
endif()
