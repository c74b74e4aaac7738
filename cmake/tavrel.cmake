# The sources of one folder. Files named *_texts.cpp hold the Chinese texts the program shows:
# they alone are compiled to code page 936, the bytes the program hands to the ANSI functions
# (the standard headers hold characters that code page cannot take).
function(tavrel_sources out)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB texts CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_texts.cpp)
  if(texts)
    set_source_files_properties(${texts} PROPERTIES COMPILE_OPTIONS -fexec-charset=CP936)
  endif()
  set(${out} ${sources} PARENT_SCOPE)
endfunction()
