# The test tells which SQLite library the Qt driver runs by the linked library's figures.
find_package(SQLite3 REQUIRED)
target_link_libraries(${TEST_TARGET} PRIVATE SQLite::SQLite3)
# A program with a SQLite copy of its own, linked in from the static library ahead of the
# shared one and kept out of its exported symbols (else the driver would bind to it), so
# that the Qt driver runs another library than the load's.
find_library(LUMATROVE_SQLITE3_STATIC NAMES libsqlite3.a)
if(LUMATROVE_SQLITE3_STATIC)
  add_executable(SqliteCopyChild ${CMAKE_CURRENT_LIST_DIR}/SqliteCopyChild.cpp)
  target_link_libraries(SqliteCopyChild PRIVATE core ${LUMATROVE_SQLITE3_STATIC} ${CMAKE_DL_LIBS} m)
  target_link_options(SqliteCopyChild PRIVATE -Wl,--exclude-libs,libsqlite3.a)
  lumatrove_link(SqliteCopyChild)
  add_dependencies(${TEST_TARGET} SqliteCopyChild)
  target_compile_definitions(${TEST_TARGET} PRIVATE
    SQLITE_COPY_CHILD="$<TARGET_FILE:SqliteCopyChild>")
endif()
