# Installs the build into a temporary prefix, then configures, builds and runs a consumer that
# finds it with find_package(Kel), and compiles each installed header on its own. Run by ctest with -DBUILD_DIR=... -DWORK_DIR=...
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
# Only the marked public interface is exported: the shared libraries' internal helpers are not.
find_program(NM_TOOL nm)
if(NM_TOOL)
  file(GLOB_RECURSE libraries "${prefix}/libkel_platform.so" "${prefix}/libkel_library.so")
  if(NOT libraries)
    message(FATAL_ERROR "The shared libraries were not installed")
  endif()
  foreach(library ${libraries})
    execute_process(COMMAND ${NM_TOOL} -DC --defined-only "${library}" OUTPUT_VARIABLE symbols
                    RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0 OR NOT symbols MATCHES "Kel::")
      message(FATAL_ERROR "Could not list the exports of ${library}")
    endif()
    if(symbols MATCHES "Kel::FloatText::|Kel::TSqlReader::|Kel::FillTemplate")
      message(FATAL_ERROR "${library} exports internal helpers: it was not built with hidden visibility")
    endif()
  endforeach()
endif()
run(${CMAKE_COMMAND} -S "${CMAKE_CURRENT_LIST_DIR}/consumer" -B "${WORK_DIR}/consumer" -G Ninja
    "-DCMAKE_PREFIX_PATH=${prefix}")
run(${CMAKE_COMMAND} --build "${WORK_DIR}/consumer")
run("${WORK_DIR}/consumer/kel_consumer")
# Every installed header compiles alone (two at a time: the machine is shared).
run(${CMAKE_COMMAND} -S "${CMAKE_CURRENT_LIST_DIR}/headers" -B "${WORK_DIR}/headers" -G Ninja
    "-DCMAKE_PREFIX_PATH=${prefix}" "-DKEL_HEADER_DIR=${prefix}/include/kel")
run(${CMAKE_COMMAND} --build "${WORK_DIR}/headers" -j 2)
# The program of the reference's getting-started page builds against the package as it stands.
run(${CMAKE_COMMAND} -S "${CMAKE_CURRENT_LIST_DIR}/../../docs/api/example" -B "${WORK_DIR}/example"
    -G Ninja "-DCMAKE_PREFIX_PATH=${prefix}")
run(${CMAKE_COMMAND} --build "${WORK_DIR}/example")
message(STATUS "The installed package builds and runs a consumer, each header compiles alone, and "
               "the getting-started program builds.")
