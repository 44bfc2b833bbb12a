# Helpers that turn each subsystem folder into libraries without listing files by hand.
#
#   src/<name>/*.cpp      -> festiloom_<name>     (Qt Core and Gui only: models, formats,
#   src/<name>/<sub>/*.cpp                        renderers and encoders that run on workers;
#                                                 every subfolder but ui/ belongs here)
#   src/<name>/ui/*.cpp   -> festiloom_<name>_ui  (widgets: windows, dialogs, canvases)
#
# A folder's .ui and .qrc files travel with the library of their folder.

function(festiloom_subsystem name)
  cmake_parse_arguments(ARG "" "" "LIBS;UI_LIBS" ${ARGN})
  set(dir ${CMAKE_CURRENT_SOURCE_DIR}/${name})

  file(GLOB_RECURSE core_sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h ${dir}/*.qrc)
  list(FILTER core_sources EXCLUDE REGEX "^${dir}/ui/")
  if(core_sources)
    add_library(festiloom_${name} STATIC ${core_sources})
    target_include_directories(festiloom_${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(festiloom_${name} PUBLIC Qt6::Core Qt6::Gui ${ARG_LIBS})
  endif()

  file(GLOB ui_sources CONFIGURE_DEPENDS ${dir}/ui/*.cpp ${dir}/ui/*.h ${dir}/ui/*.ui ${dir}/ui/*.qrc)
  if(ui_sources)
    add_library(festiloom_${name}_ui STATIC ${ui_sources})
    target_include_directories(festiloom_${name}_ui PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    set_target_properties(festiloom_${name}_ui PROPERTIES AUTOUIC_SEARCH_PATHS ${dir}/ui)
    # Forms are part of a window's interface: code in other subsystems reaches their controls.
    target_include_directories(festiloom_${name}_ui PUBLIC
      ${CMAKE_CURRENT_BINARY_DIR}/festiloom_${name}_ui_autogen/include)
    target_link_libraries(festiloom_${name}_ui PUBLIC Qt6::Widgets Qt6::PrintSupport ${ARG_UI_LIBS})
    if(TARGET festiloom_${name})
      target_link_libraries(festiloom_${name}_ui PUBLIC festiloom_${name})
    endif()
  endif()
endfunction()

# Sanitizer settings of every test run. GCC 12's AddressSanitizer follows dynamic TLS through
# __tls_get_addr; after a worker thread was the first to touch a library's thread-local data,
# LeakSanitizer's exit check can read a stale record and die although nothing leaked. Without
# that interception dynamic TLS is ordinary heap that the threads' own TLS points to, so leak
# checking sees the same memory.
set(FESTILOOM_TEST_SANITIZER_ENV
    "ASAN_OPTIONS=intercept_tls_get_addr=0"
    "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
# A race report fails the test (exit code 66) as soon as it is found. Qt is not built with
# ThreadSanitizer: the locks inside it are invisible, so memory it frees, copies or hands to its
# own worker threads would look raced. Accesses made by the interceptors on Qt's behalf are
# therefore ignored (ignore_noninstrumented_modules); every access our code makes, to its own
# memory or to Qt's, is still checked (document/RaceCheckTest plants a race and expects it).
# Tests that run a program (Pillow, openpyxl) after threads have run fork through QProcess,
# whose child execs at once: die_after_fork=0 lets them.
if(FESTILOOM_TSAN)
  set(FESTILOOM_TEST_SANITIZER_ENV
      "TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:ignore_noninstrumented_modules=1:die_after_fork=0:suppressions=${PROJECT_SOURCE_DIR}/tests/tsan.supp")
endif()

# Every tests/<name>/*Test.cpp (and tests/<name>/<sub>/*Test.cpp) becomes one test program
# named after its path (test "barcode/qr/QRCodeTest", program test_barcode_qr_QRCodeTest),
# linked with every Festiloom library and the shared test support (Qt application, scripted
# modal seam, helpers). A program's data files are in the data/ folder beside it.
function(festiloom_tests name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB_RECURSE test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*Test.cpp)
  list(FILTER test_sources EXCLUDE REGEX "^${CMAKE_CURRENT_SOURCE_DIR}/${name}/(.+/)?data/")
  foreach(source ${test_sources})
    file(RELATIVE_PATH rel ${CMAKE_CURRENT_SOURCE_DIR} ${source})
    get_filename_component(folder ${rel} DIRECTORY)
    get_filename_component(base ${source} NAME_WE)
    string(REPLACE "/" "_" target_folder ${folder})
    set(target test_${target_folder}_${base})
    # A program that starts threads, or says "Runs worker threads" for the workers the code it
    # drives starts, carries the label "threaded"; the ThreadSanitizer build makes and runs
    # only those.
    file(READ ${source} text)
    string(REGEX MATCH "std::thread|std::async|QThread|QtConcurrent|QThreadPool|Runs worker threads" threaded "${text}")
    if(FESTILOOM_TSAN AND NOT threaded)
      continue()
    endif()
    add_executable(${target} ${source})
    target_link_libraries(${target} PRIVATE festiloom_test_support ${ARG_LIBS})
    if(FESTILOOM_TSAN)
      # Program starts as forks, which the race detector follows (see the file).
      target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/VforkAsFork.cpp)
      target_link_libraries(${target} PRIVATE ${CMAKE_DL_LIBS})
    endif()
    target_compile_definitions(${target} PRIVATE
      FESTILOOM_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
      FESTILOOM_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/${folder}/data")
    add_test(NAME ${folder}/${base} COMMAND ${target})
    set_tests_properties(${folder}/${base} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${FESTILOOM_TEST_SANITIZER_ENV}"
      TIMEOUT 300)
    if(threaded)
      set_tests_properties(${folder}/${base} PROPERTIES LABELS threaded)
    endif()
  endforeach()
endfunction()
