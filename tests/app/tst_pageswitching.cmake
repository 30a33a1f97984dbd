# The test reaches the header bar's form (ui_HeaderBar.h) like the hub does.
set_target_properties(${TEST_TARGET} PROPERTIES AUTOUIC_SEARCH_PATHS ${CMAKE_SOURCE_DIR}/src/forms)
