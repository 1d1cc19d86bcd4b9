# Every text the player sees, in English and German.
add_library(travoli_texts STATIC
  ${CMAKE_CURRENT_LIST_DIR}/texts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/texts.h)
target_include_directories(travoli_texts PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(travoli_texts PUBLIC Qt6::Core PRIVATE travoli_warnings)
