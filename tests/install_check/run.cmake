# Installs the build into a scratch prefix, then configures, builds and runs a client project that
# finds it with find_package(brennock). Arguments: BUILD_DIR, PROJECT_DIR, WORK_DIR.
file(REMOVE_RECURSE "${WORK_DIR}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${WORK_DIR}/prefix"
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(rc)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -S "${PROJECT_DIR}" -B "${WORK_DIR}/client" -G Ninja
                        "-DCMAKE_PREFIX_PATH=${WORK_DIR}/prefix" RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "configuring the client project failed: ${rc}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${WORK_DIR}/client" RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "building the client project failed: ${rc}")
endif()
execute_process(COMMAND "${WORK_DIR}/client/client" RESULT_VARIABLE rc OUTPUT_VARIABLE out)
message("${out}")
if(rc)
  message(FATAL_ERROR "the client program failed: ${rc}")
endif()
