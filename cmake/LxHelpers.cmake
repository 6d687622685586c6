# Every unit directly in the given folders (relative to the calling folder):
# a folder belongs to one target as a whole, so a new unit needs only a file.
function(lx_folder_sources out)
  set(sources)
  foreach(folder ${ARGN})
    get_filename_component(at ${folder} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    file(GLOB units CONFIGURE_DEPENDS ${at}/*.cpp ${at}/*.cc ${at}/*.c)
    list(APPEND sources ${units})
  endforeach()
  set(${out} ${sources} PARENT_SCOPE)
endfunction()

# A layer library from its sources, seeing the repository's include root.
function(lx_layer_library name kind)
  add_library(${name} ${kind} ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  lx_warnings(${name})
endfunction()

# One GoogleTest binary per test folder; every unit directly in it is a test source.
function(lx_test_binary name folder main_lib)
  lx_folder_sources(sources ${folder})
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${main_lib} ${ARGN})
  lx_warnings(${name})
  # Seen by the scanner backends the tests load (see SaneTestBackend.cpp).
  target_link_options(${name} PRIVATE "LINKER:--export-dynamic-symbol=pthread_setcanceltype")
  # The scanner tests run SANE's backends, which keep buffers from threads
  # and modules libsane unloads; leak checking is off for those alone.
  set(scanner_tests "TwainManagerTest.*:AcquireImageTest.*")
  # Suites named ChildRole* are the other side of a test that starts its
  # own binary again (a second process, a display of its own): they are
  # not tests of their own. Parameterised cases keep the names their
  # suites give them, without the printed parameter.
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    DISCOVERY_TIMEOUT 120
    NO_PRETTY_VALUES
    TEST_FILTER "-${scanner_tests}:ChildRole*"
    PROPERTIES ENVIRONMENT "LX_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    DISCOVERY_TIMEOUT 120
    NO_PRETTY_VALUES
    TEST_FILTER "${scanner_tests}"
    PROPERTIES ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1")
endfunction()
