# The test reaches the bar's form (ui_HeaderBar.h) like the hub does.
set_target_properties(${TEST_TARGET} PROPERTIES AUTOUIC_SEARCH_PATHS ${CMAKE_SOURCE_DIR}/src/forms)
