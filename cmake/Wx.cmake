# wxWidgets 3.2 for MSW, static, from the machine-wide cache made by tools/bootstrap.sh.
# Gives the imported target wx::core (core and base libraries with their Win32 libraries).
find_program(QZ_WX_CONFIG wx-config PATHS ${QZ_WX_PREFIX}/bin NO_DEFAULT_PATH)
if(QZ_WX_CONFIG)
  execute_process(COMMAND ${QZ_WX_CONFIG} --static --cxxflags
    OUTPUT_VARIABLE wx_cxxflags OUTPUT_STRIP_TRAILING_WHITESPACE)
  execute_process(COMMAND ${QZ_WX_CONFIG} --static --libs core,base
    OUTPUT_VARIABLE wx_libs OUTPUT_STRIP_TRAILING_WHITESPACE)
  separate_arguments(wx_cxxflags UNIX_COMMAND "${wx_cxxflags}")
  separate_arguments(wx_libs UNIX_COMMAND "${wx_libs}")
  add_library(wx::core INTERFACE IMPORTED)
  set(wx_includes "")
  set(wx_options "")
  foreach(flag IN LISTS wx_cxxflags)
    if(flag MATCHES "^-I(.*)")
      list(APPEND wx_includes ${CMAKE_MATCH_1})
    else()
      list(APPEND wx_options ${flag})
    endif()
  endforeach()
  # The toolkit's headers are not ours: no warnings from them.
  target_include_directories(wx::core SYSTEM INTERFACE ${wx_includes})
  target_compile_options(wx::core INTERFACE ${wx_options})
  target_link_libraries(wx::core INTERFACE ${wx_libs})
else()
  message(STATUS "wxWidgets not found under ${QZ_WX_PREFIX}: run tools/bootstrap.sh")
endif()
