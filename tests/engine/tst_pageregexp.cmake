# The growth test compares timings: keep other tests from running beside it.
set_tests_properties(${TEST_TARGET} PROPERTIES RUN_SERIAL TRUE)
