# qorvane_library(<folder> DEPS <targets...>)
# One static library per folder of src/, made of every .cpp/.h in it (recursively).
function(qorvane_library folder)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    if(NOT sources)
        # A folder that has no code yet still gives a (empty) library to link against.
        set(sources ${CMAKE_CURRENT_BINARY_DIR}/empty.cpp)
        file(WRITE ${sources} "// This folder has no code yet.\nnamespace {}\n")
    endif()
    add_library(qorvane_${folder} STATIC ${sources})
    target_include_directories(qorvane_${folder} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(qorvane_${folder} PUBLIC ${ARG_DEPS})
endfunction()

# qorvane_tests(<folder> DEPS <targets...>)
# One GoogleTest executable per folder of tests/, each test registered with CTest.
function(qorvane_tests folder)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    if(NOT sources)
        return()
    endif()
    add_executable(tests_${folder} ${sources})
    target_link_libraries(tests_${folder} PRIVATE ${ARG_DEPS} qorvane_testsupport GTest::gtest)
    gtest_discover_tests(tests_${folder}
        DISCOVERY_TIMEOUT 60
        # One ENVIRONMENT per variable: the discovery script flattens a list value, so
        # "A=1;B=2" would set A alone.
        PROPERTIES TIMEOUT 300
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
            ENVIRONMENT "QORVANE_DATA_DIR=${PROJECT_SOURCE_DIR}/tests/data"
            ENVIRONMENT "QORVANE_PROBE=$<TARGET_FILE:qorvane-probe>"
            ENVIRONMENT "QORVANE_SAMPLE_DB=${PROJECT_SOURCE_DIR}/sample/sample.db")
endfunction()
