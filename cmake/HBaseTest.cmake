# Every test runs through tests/sandbox: private /tmp, /user, /base, /velmora, /cust, /home, a private
# session bus and, unless NO_SCREEN, Xvfb. Each test has its own sandbox, so tests can run in parallel.
#
#   hbase_add_test(NAME tst_x SOURCES tst_x.cpp [LIBS ...] [SCREEN WxH] [NO_SCREEN] [NO_BUS] [SIM]
#                  [SANDBOX_OPTIONS ...])
#   hbase_add_qml_test(FILE tst_x.qml [SCREEN WxH] [NO_BUS] [SIM] [MODEL file.json] [RUNNER target])
#
# SANDBOX_OPTIONS go to tests/sandbox as they are (such as --small-fs 65536 /base/x).
# SIM starts hbase-sim (with MODEL, else its default model) before the test and stops it after.
# RUNNER runs the file with a test runner of our own (such as qmlsimrunner, which also hands the test
# the simulator's control interface) instead of qmltestrunner.
#
# A QML test fails on any QML warning in its output, whatever its test functions say: a binding that
# throws or cannot follow its value shows stale data on the instrument without failing a call.
set(HBASE_QML_WARNING_REGEX
    "TypeError" "ReferenceError" "non-NOTIFYable" "Binding loop" "Cannot read property" "is not a function")

function(hbase_fail_on_qml_warnings)
  set_tests_properties(${ARGN} PROPERTIES FAIL_REGULAR_EXPRESSION "${HBASE_QML_WARNING_REGEX}")
endfunction()

set(HBASE_TEST_TIMEOUT 300)

function(_hbase_sandbox_command out_var)
  cmake_parse_arguments(ARG "NO_SCREEN;NO_BUS;SIM" "SCREEN;MODEL" "SANDBOX_OPTIONS" ${ARGN})
  set(cmd ${HBASE_SANDBOX} ${ARG_SANDBOX_OPTIONS})
  if(ARG_NO_SCREEN)
    list(APPEND cmd --no-screen)
  elseif(ARG_SCREEN)
    list(APPEND cmd --screen ${ARG_SCREEN})
  endif()
  if(ARG_NO_BUS)
    list(APPEND cmd --no-bus)
  endif()
  list(APPEND cmd --)
  if(ARG_SIM)
    list(APPEND cmd ${CMAKE_SOURCE_DIR}/tests/support/with-sim)
    if(ARG_MODEL)
      list(APPEND cmd --model ${ARG_MODEL})
    endif()
    list(APPEND cmd --)
  endif()
  set(${out_var} ${cmd} PARENT_SCOPE)
endfunction()

function(_hbase_test_environment test_name)
  set(env
    "HBASE_SANDBOX_BINDS=${CMAKE_BINARY_DIR}"
    "QML2_IMPORT_PATH=${HBASE_QML_DIR}"
    "HBASE_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
    "HBASE_BINARY_DIR=${CMAKE_BINARY_DIR}"
    "QT_QPA_PLATFORM_PLUGIN_PATH="
    "QT_LOGGING_RULES=qt.qpa.*=false"
    # Xvfb has no GPU: Qt Quick draws with its software renderer, and Qt's xcb GLX integration is never
    # loaded, so no Mesa driver enters a test process (some Mesa releases leave an allocation behind
    # in a library already unloaded, which the leak checker cannot attribute).
    "QT_XCB_GL_INTEGRATION=none"
    "QT_QUICK_BACKEND=software")
  if(TARGET hbase-sim)
    list(APPEND env "HBASE_SIM=$<TARGET_FILE:hbase-sim>")
  endif()
  if(HBASE_TEST_EMULATOR)
    string(JOIN " " emulator ${HBASE_TEST_EMULATOR})
    list(APPEND env "HBASE_EMULATOR=${emulator}")
  endif()
  if(HBASE_SANITIZE)
    list(APPEND env
      "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1"
      "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/support/lsan.supp:print_suppressions=0"
      "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
  endif()
  set_tests_properties(${test_name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT ${HBASE_TEST_TIMEOUT})
endfunction()

function(hbase_add_test)
  cmake_parse_arguments(ARG "NO_SCREEN;NO_BUS;SIM" "NAME;SCREEN;MODEL" "SOURCES;LIBS;SANDBOX_OPTIONS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE hbase_core Qt::Test ${ARG_LIBS})
  if(TARGET hbase_test_support)
    target_link_libraries(${ARG_NAME} PRIVATE hbase_test_support)
  endif()
  set(opts "")
  foreach(flag NO_SCREEN NO_BUS SIM)
    if(ARG_${flag})
      list(APPEND opts ${flag})
    endif()
  endforeach()
  foreach(key SCREEN MODEL SANDBOX_OPTIONS)
    if(ARG_${key})
      list(APPEND opts ${key} ${ARG_${key}})
    endif()
  endforeach()
  _hbase_sandbox_command(cmd ${opts})
  add_test(NAME ${ARG_NAME} COMMAND ${cmd} ${HBASE_TEST_EMULATOR} $<TARGET_FILE:${ARG_NAME}>)
  _hbase_test_environment(${ARG_NAME})
  add_dependencies(${ARG_NAME} hBase_plugin)
  if(TARGET hbase-sim)
    add_dependencies(${ARG_NAME} hbase-sim)
  endif()
endfunction()

function(hbase_add_qml_test)
  cmake_parse_arguments(ARG "NO_BUS;SIM" "FILE;SCREEN;MODEL;RUNNER" "" ${ARGN})
  get_filename_component(test_name ${ARG_FILE} NAME_WE)
  get_filename_component(test_file ${ARG_FILE} ABSOLUTE)
  set(opts "")
  foreach(flag NO_BUS SIM)
    if(ARG_${flag})
      list(APPEND opts ${flag})
    endif()
  endforeach()
  foreach(key SCREEN MODEL)
    if(ARG_${key})
      list(APPEND opts ${key} ${ARG_${key}})
    endif()
  endforeach()
  _hbase_sandbox_command(cmd ${opts})
  set(runner ${HBASE_QMLTESTRUNNER})
  if(ARG_RUNNER)
    set(runner $<TARGET_FILE:${ARG_RUNNER}>)
    add_dependencies(${ARG_RUNNER} hBase_plugin)
  elseif(CMAKE_CROSSCOMPILING)
    # The host's qmltestrunner cannot load a plugin of the target: the suite's own runner instead.
    set(runner $<TARGET_FILE:qmlsimrunner>)
  endif()
  if(CMAKE_CROSSCOMPILING)
    set(runner ${HBASE_TEST_EMULATOR} ${runner})
  elseif(HBASE_SANITIZE)
    # qmltestrunner itself is not instrumented; the runtime must come first for the plugin to load.
    set(runner env LD_PRELOAD=${HBASE_ASAN_RUNTIME} ${runner})
  endif()
  # HBASE_QML_TEST_WRAPPER: a command (set by the caller) that prepares the sandbox and then runs the runner.
  add_test(NAME qml_${test_name} COMMAND ${cmd} ${HBASE_QML_TEST_WRAPPER} ${runner} -import ${HBASE_QML_DIR}
                                         -input ${test_file})
  _hbase_test_environment(qml_${test_name})
  hbase_fail_on_qml_warnings(qml_${test_name})
endfunction()
