add_executable(travoli-test-texts ${CMAKE_CURRENT_LIST_DIR}/texts_test.cpp)
target_link_libraries(travoli-test-texts PRIVATE travoli_texts GTest::gtest_main travoli_warnings)
gtest_discover_tests(travoli-test-texts TEST_PREFIX "texts.")
