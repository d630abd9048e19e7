# Installs the build into a temporary prefix, then configures, builds and runs a consumer that
# finds it with find_package(Kel). Run by ctest with -DBUILD_DIR=... -DWORK_DIR=...
file(REMOVE_RECURSE "${WORK_DIR}")
set(prefix "${WORK_DIR}/prefix")

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "Command failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
endfunction()

run(${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}")
foreach(header KelClasses.h Variant.h Component.h)
  if(NOT EXISTS "${prefix}/include/kel/${header}")
    message(FATAL_ERROR "${header} was not installed")
  endif()
endforeach()
run(${CMAKE_COMMAND} -S "${CMAKE_CURRENT_LIST_DIR}/consumer" -B "${WORK_DIR}/consumer" -G Ninja
    "-DCMAKE_PREFIX_PATH=${prefix}")
run(${CMAKE_COMMAND} --build "${WORK_DIR}/consumer")
run("${WORK_DIR}/consumer/kel_consumer")
# The program of the reference's getting-started page builds against the package as it stands.
run(${CMAKE_COMMAND} -S "${CMAKE_CURRENT_LIST_DIR}/../../docs/api/example" -B "${WORK_DIR}/example"
    -G Ninja "-DCMAKE_PREFIX_PATH=${prefix}")
run(${CMAKE_COMMAND} --build "${WORK_DIR}/example")
message(STATUS "The installed package builds and runs a consumer.")
