# The writer that the test kills is a program of its own.
add_executable(StoreCrashChild ${CMAKE_CURRENT_LIST_DIR}/StoreCrashChild.cpp)
lumatrove_link(StoreCrashChild)
add_dependencies(${TEST_TARGET} StoreCrashChild)
target_compile_definitions(${TEST_TARGET} PRIVATE
  STORE_CRASH_CHILD="$<TARGET_FILE:StoreCrashChild>")
set_tests_properties(${TEST_TARGET} PROPERTIES LABELS store)
