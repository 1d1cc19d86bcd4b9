# Every text the player sees, in English and German, and the errors of the layers below
# rendered with them: no widgets, so that the tool may use it too.
travoli_library(travoli_texts
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/texts.cpp ${CMAKE_CURRENT_LIST_DIR}/texts.h
          ${CMAKE_CURRENT_LIST_DIR}/error_message.cpp ${CMAKE_CURRENT_LIST_DIR}/error_message.h
  PUBLIC Qt6::Core travoli_settings travoli_media_container)
