# Helpers that turn each subsystem folder into libraries without listing files by hand.
#
#   src/<name>/*.cpp      -> festiloom_<name>     (Qt Core and Gui only: models, formats,
#                                                 renderers and encoders that run on workers)
#   src/<name>/ui/*.cpp   -> festiloom_<name>_ui  (widgets: windows, dialogs, canvases)
#
# A folder's .ui and .qrc files travel with the library of their folder.

function(festiloom_subsystem name)
  cmake_parse_arguments(ARG "" "" "LIBS;UI_LIBS" ${ARGN})
  set(dir ${CMAKE_CURRENT_SOURCE_DIR}/${name})

  file(GLOB core_sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h ${dir}/*.qrc)
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

# Every tests/<name>/*Test.cpp becomes one test program, linked with every Festiloom
# library and the shared test support (Qt application, scripted modal seam, helpers).
function(festiloom_tests name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*Test.cpp)
  foreach(source ${test_sources})
    get_filename_component(base ${source} NAME_WE)
    set(target test_${name}_${base})
    add_executable(${target} ${source})
    target_link_libraries(${target} PRIVATE festiloom_test_support ${ARG_LIBS})
    target_compile_definitions(${target} PRIVATE
      FESTILOOM_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
      FESTILOOM_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/${name}/data")
    add_test(NAME ${name}/${base} COMMAND ${target})
    set_tests_properties(${name}/${base} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
      TIMEOUT 300)
  endforeach()
endfunction()
