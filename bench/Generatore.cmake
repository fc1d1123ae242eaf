# The generator of large archives, shared by the benchmarks and the tests.
if(NOT TARGET vardello_generatore)
  add_library(vardello_generatore STATIC ${CMAKE_CURRENT_LIST_DIR}/GeneraArchivio.cpp)
  target_include_directories(vardello_generatore PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(vardello_generatore PUBLIC vardello_store)
endif()
