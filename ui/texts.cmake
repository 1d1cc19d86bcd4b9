# Every text the player sees, in English and German.
travoli_library(travoli_texts
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/texts.cpp ${CMAKE_CURRENT_LIST_DIR}/texts.h
  PUBLIC Qt6::Core)
