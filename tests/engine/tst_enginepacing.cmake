# Runs at the real pauses between pages and checks: alone, so that a busy machine does
# not stretch them, and under a label of its own.
set_tests_properties(${TEST_TARGET} PROPERTIES LABELS "realtime" RUN_SERIAL TRUE TIMEOUT 120)
