# Helpers shared by every folder of the suite.

# Adds each folder that already has a CMakeLists.txt.
function(tessaron_add_folders)
    foreach(dir IN LISTS ARGN)
        if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
            add_subdirectory(${dir})
        endif()
    endforeach()
endfunction()

# An executable of the suite: it carries the version marker that the programs
# read back from files (About boxes, APPL_VERSION).
function(tessaron_executable name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE tessaron_version_marker)
endfunction()

# A GoogleTest executable, run by CTest offscreen, without a display and with
# TESSARON_HOME pointing nowhere, so that a test that forgets to make its own
# temporary suite folder cannot touch a real one.
#   tessaron_test(name [QT] SOURCES a.cpp b.cpp LIBS lib1 lib2 [LABELS label])
# QT gives the test a main() that creates a QApplication. LABELS is a CTest
# label ("threads" for tests that run threads: scripts/tsan.sh runs those).
function(tessaron_test name)
    cmake_parse_arguments(T "QT" "" "SOURCES;LIBS;LABELS" ${ARGN})
    tessaron_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE GTest::gtest GTest::gmock tessaron_test_support ${T_LIBS})
    if(T_QT)
        target_link_libraries(${name} PRIVATE tessaron_test_qt_main)
    else()
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    # One label only, for the same reason as below.
    set(T_LABELS_PROPERTY)
    if(T_LABELS)
        list(GET T_LABELS 0 label)
        set(T_LABELS_PROPERTY LABELS "${label}")
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        # One value per property: gtest_discover_tests splits a value that is a
        # list, which would shift every property after it.
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                   ENVIRONMENT_MODIFICATION "TESSARON_HOME=set:/nonexistent-tessaron-home"
                   TIMEOUT 300
                   ${T_LABELS_PROPERTY})
endfunction()
