# The program's start-up as a process: a probe program runs it with a printing
# message-box hook. The test takes the single-instance lock's resource so that it never
# runs beside another test that starts the program.
add_executable(startup_probe ${CMAKE_CURRENT_LIST_DIR}/startup_probe.cpp)
lumatrove_link(startup_probe)
add_dependencies(${TEST_TARGET} startup_probe)
target_compile_definitions(${TEST_TARGET} PRIVATE
  STARTUP_PROBE="$<TARGET_FILE:startup_probe>")
set_tests_properties(${TEST_TARGET} PROPERTIES RESOURCE_LOCK lumatrove_instance_lock)
