# Every layer is one library built from all sources under its folder, so that
# new units only need a file, never an edit of a shared list.
function(lx_layer_library name kind folder)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(NOT sources)
    # A layer that has no units yet still has to be a linkable library.
    set(stub ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp)
    file(WRITE ${stub} "namespace { [[maybe_unused]] int lx_empty_layer; }\n")
    set(sources ${stub})
  endif()
  add_library(${name} ${kind} ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  lx_warnings(${name})
endfunction()

# One GoogleTest binary per test folder; every *.cpp in it is a test source.
function(lx_test_binary name folder main_lib)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${main_lib} ${ARGN})
  lx_warnings(${name})
  # Seen by the scanner backends the tests load (see SaneTestBackend.cpp).
  target_link_options(${name} PRIVATE "LINKER:--export-dynamic-symbol=pthread_setcanceltype")
  # The scanner tests run SANE's backends, which keep buffers from threads
  # and modules libsane unloads; leak checking is off for those alone.
  set(scanner_tests "TwainManagerTest.*:AcquireImageTest.*")
  # Roles another test starts in a second process or under Xvfb; not tests of their own.
  set(child_roles "ClipboardPeer.*:ControlDesktopClipboardOnX.*:XvfbScreens.*")
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    DISCOVERY_TIMEOUT 120
    TEST_FILTER "-${scanner_tests}:${child_roles}"
    PROPERTIES ENVIRONMENT "LX_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    DISCOVERY_TIMEOUT 120
    TEST_FILTER "${scanner_tests}"
    PROPERTIES ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1")
endfunction()
